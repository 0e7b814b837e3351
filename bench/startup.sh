#!/usr/bin/env bash
# Start-up time to the first present and steady memory of the real game in a
# real window under Xvfb, measured by amber-startup.
# usage: bench/startup.sh BUILD_DIR [RUNS] [SETTLE_SECONDS]
set -euo pipefail
build=$(cd "$1" && pwd)
runs=${2:-11}
settle=${3:-5}
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../scripts/lib/xvfb.sh"
xvfb_start "$work"
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
cd "$build"
./amber-startup ./amber-hollow "$build/libamber_first_present.so" "$runs" "$settle"
