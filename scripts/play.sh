#!/usr/bin/env bash
# Sets up, builds and starts the game in build/, where its resources/ lie.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cd build
exec ./amber-hollow
