#!/usr/bin/env bash
# Installs what amber hollow needs to build, play and test on Debian or Ubuntu,
# then configures and builds it into build/. Safe to run again: it installs
# only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libsdl2-ttf-dev
  libsndfile1-dev nlohmann-json3-dev fonts-liberation
  libgtest-dev googletest libbenchmark-dev
  clang-14 libclang-rt-14-dev valgrind
  xvfb xauth xdotool imagemagick x11-utils sox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
