#!/usr/bin/env bash
# Installs what amber hollow needs to build, play and run its quick tests on
# Debian or Ubuntu, then configures and builds it into build/. Safe to run
# again: it installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/jobs.sh
install_parts build x11
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$AMBER_JOBS"
