#!/usr/bin/env bash
# Sets up, builds and runs every test headless (SDL's dummy drivers; no display
# or sound device needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
(cd build && ctest --output-on-failure -j2)
