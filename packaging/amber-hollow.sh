#!/bin/sh
# Starts amber hollow. The game reads resources/ under its working directory,
# so it runs from its data folder, found from where this launcher lies:
# PREFIX/games/amber-hollow starts PREFIX/lib/games/amber-hollow/amber-hollow
# in PREFIX/share/games/amber-hollow.
set -e
prefix=$(dirname "$(dirname "$(readlink -f "$0")")")
cd "$prefix/share/games/amber-hollow"
exec "$prefix/lib/games/amber-hollow/amber-hollow" "$@"
