#!/usr/bin/env bash
# Renews the kept golden frames from the current build (after a meant change
# to the rules, drawing or content). Look at the new pictures before committing.
set -euo pipefail
cd "$(dirname "$0")/../../build"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./amber-capture ../tests/golden/frames.capture
cp golden-start.png golden-burst.png golden-lost.png ../tests/golden/
