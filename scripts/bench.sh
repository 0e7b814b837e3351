#!/usr/bin/env bash
# Builds and runs the performance measurements (docs/performance.md):
#   1. amber-bench: the board's and the game's update, a frame against its
#      replayed SDL calls, the figures (headless, software renderer);
#   2. instruction counts under callgrind, written to bench/results/;
#   3. start-up to the first present and steady memory under Xvfb.
# usage: scripts/bench.sh [BUILD_DIR]   (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/jobs.sh
scripts/install.sh valgrind  # the instruction counts; the rest comes with scripts/setup.sh
build=${1:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$AMBER_JOBS" --target amber-hollow amber-bench amber-bench-count amber-startup amber_first_present
mkdir -p bench/results

echo "== benchmarks =="
(cd "$build" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./amber-bench --benchmark_min_time=1) |
  tee bench/results/benchmarks.txt

echo "== instruction counts =="
bench/count.sh "$build" bench/results/instructions.txt bench/results/frame_profile.txt

echo "== start-up and memory (Xvfb) =="
bench/startup.sh "$build" | tee bench/results/startup.txt
echo "machine: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores" | tee bench/results/machine.txt
