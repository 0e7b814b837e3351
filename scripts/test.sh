#!/usr/bin/env bash
# Sets up, builds and runs every test headless (SDL's dummy drivers, Xvfb for
# the real-window test; no display or sound device needed):
#   1. the whole suite on the normal build in build/, with a 200,000-frame soak
#      whose resident memory must stay under 64 MB;
#   2. the rig and clip loaders fuzzed for a minute each (clang's libFuzzer);
#   3. the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (leaks included) in build-asan/, with a 200,000-frame soak.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

echo "== tests =="
cmake -S . -B build -DAMBER_LONG_SOAK=ON >/dev/null
(cd build && ctest --output-on-failure -j2)

echo "== fuzzing =="
tests/fuzz/run.sh 60

echo "== tests under the sanitizers =="
cmake -S . -B build-asan -DAMBER_SANITIZE=ON -DAMBER_LONG_SOAK=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The real-window tests drive the system's X, D-Bus and GL libraries, whose
# own leaks at exit are not ours to judge; they run on the normal build above.
(cd build-asan && ctest --output-on-failure -j2 -E 'EndToEnd')
