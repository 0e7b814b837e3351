#!/usr/bin/env bash
# Builds the figure-loader fuzzers with clang and runs each for a bounded time,
# seeded with the shipped figures (from the normal build in build/). A crash
# input is copied under tests/fuzz/crashes/<kind>/ and kept: every later run
# replays those first, so a fixed fault cannot come back unnoticed.
# usage: tests/fuzz/run.sh [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib/jobs.sh
seconds=${1:-60}
cmake -S . -B build-fuzz -DAMBER_FUZZ=ON -DBUILD_TESTING=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build build-fuzz -j"$AMBER_JOBS" --target rig-fuzz clip-fuzz
mkdir -p build-fuzz/corpus/{rig,clip} build-fuzz/findings/{rig,clip}
for figure in build/resources/*/; do
  name=$(basename "$figure")
  cp "$figure/body.jrig" "build-fuzz/corpus/rig/$name.jrig"
  # A clip seed leads with the byte that chooses its rig's bone count.
  bones=$(od -An -t d4 -N 4 "$figure/body.jrig" | tr -d ' ')
  for clip in idle attack; do
    { printf "\\x$(printf %02x $(( (bones - 1) % 64 )))"; cat "$figure/$clip.janim"; } \
      >"build-fuzz/corpus/clip/$name-$clip.bin"
  done
done
status=0
for kind in rig clip; do
  findings=build-fuzz/findings/$kind/
  echo "== fuzzing the $kind loader for ${seconds}s =="
  if ! ./build-fuzz/$kind-fuzz -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=1024 \
      -artifact_prefix="$findings" -print_final_stats=1 "build-fuzz/corpus/$kind" "tests/fuzz/crashes/$kind" \
      2>"build-fuzz/$kind.log"; then
    status=1
    cp "$findings"* "tests/fuzz/crashes/$kind/" 2>/dev/null || true
    tail -n 40 "build-fuzz/$kind.log"
  fi
  grep -E '^stat::number_of_executed_units|^Done ' "build-fuzz/$kind.log" || true
done
exit $status
