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

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
unset SDL_VIDEODRIVER
export SDL_AUDIODRIVER=dummy
cd "$build"
./amber-startup ./amber-hollow "$build/libamber_first_present.so" "$runs" "$settle"
