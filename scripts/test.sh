#!/usr/bin/env bash
# The tests, in two tiers; both run headless (SDL's dummy drivers, Xvfb for the
# real window) and need neither a display nor a sound device.
#
#   scripts/test.sh         quick: set-up and build (scripts/setup.sh), then the
#                           whole suite on build/ (unit, rendering, golden
#                           frames, bad content, the real game in a window, a
#                           20,000-frame soak). About a minute after the build.
#   scripts/test.sh --deep  deep: the rig and clip loaders fuzzed (clang's
#                           libFuzzer), the suite again under AddressSanitizer +
#                           UndefinedBehaviorSanitizer with a 200,000-frame soak
#                           in build-asan/, then each platform's own check:
#                           Windows under Wine, the browser, the Debian package.
set -euo pipefail
cd "$(dirname "$0")/.."
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

quick() {
  scripts/setup.sh
  local start=$SECONDS
  (cd build && ctest --output-on-failure -j2)
  echo "quick tier: $((SECONDS - start)) s of tests after the build"
}

deep() {
  local start=$SECONDS
  scripts/install.sh clang-14 libclang-rt-14-dev
  [ -x build/amber-hollow ] || scripts/setup.sh

  echo "== fuzzing =="
  tests/fuzz/run.sh 60

  echo "== tests under the sanitizers =="
  cmake -S . -B build-asan -DAMBER_SANITIZE=ON -DAMBER_LONG_SOAK=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build-asan -j2
  # The real-window tests drive the system's X, D-Bus and GL libraries, whose
  # own leaks at exit are not ours to judge; they ran on the normal build.
  (cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j2 -E 'EndToEnd')

  for platform in windows web package; do
    if [ -x "scripts/$platform.sh" ]; then
      echo "== $platform =="
      "scripts/$platform.sh" --test
    fi
  done
  echo "deep tier: $((SECONDS - start)) s"
}

case "${1:-}" in
  "") quick ;;
  --deep) deep ;;
  *) echo "usage: scripts/test.sh [--deep]" >&2; exit 2 ;;
esac
