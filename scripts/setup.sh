#!/usr/bin/env bash
# Installs what amber hollow needs to build, play and run its quick tests on
# Debian or Ubuntu, then configures and builds it into build/. Safe to run
# again: it installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install.sh \
  build-essential cmake pkg-config \
  libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libsdl2-ttf-dev \
  libsndfile1-dev nlohmann-json3-dev fonts-liberation2 librsvg2-dev \
  libgtest-dev googletest libbenchmark-dev \
  xvfb xauth xdotool imagemagick x11-utils
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
