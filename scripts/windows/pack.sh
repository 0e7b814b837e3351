#!/usr/bin/env bash
# Packs the player's zip from a Windows build folder: the game, SDL's DLLs
# (stripped), resources/, and README.txt, LICENSE.txt and the font sheet's
# FONT-LICENSE.txt with Windows line ends, all in one amber-hollow/ folder.
# usage: scripts/windows/pack.sh BUILD_DIR ZIP
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd) zip=$(realpath -m "$2")
stage=$build/stage/amber-hollow
rm -rf "$build/stage" "$zip" && mkdir -p "$stage" "$(dirname "$zip")"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
# The build's own strip: the one of its processor.
strip=$(sed -n 's/^CMAKE_STRIP:FILEPATH=//p' "$build/CMakeCache.txt")
"$strip" --strip-unneeded "$stage"/*.dll
cp "$root/docs/windows-readme.txt" "$stage/README.txt"
cp "$root/LICENSE" "$stage/LICENSE.txt"
cp "$root/content/media/font-license.txt" "$stage/FONT-LICENSE.txt"
cd "$build/stage"
zip -q -r -9 "$zip" amber-hollow -x '*.txt'
zip -q -9 -l "$zip" amber-hollow/*.txt  # -l: CR LF line ends, for Notepad
find amber-hollow -maxdepth 1 -type f -printf '  %p %s bytes\n' | sort
echo "  amber-hollow/resources: $(find "$stage/resources" -type f | wc -l) files, $(du -sb "$stage/resources" | cut -f1) bytes"
echo "zip: $(stat -c %s "$zip") bytes"
