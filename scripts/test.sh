#!/usr/bin/env bash
# The tests, in two tiers; both run headless (SDL's dummy drivers, Xvfb for the
# real window) and need neither a display nor a sound device.
#
#   scripts/test.sh         quick: set-up and build (scripts/setup.sh), then the
#                           whole suite on build/ (unit, rendering, golden
#                           frames, bad content, the real game in a window, a
#                           5,000-frame soak). About a minute after the build.
#   scripts/test.sh --deep  deep: the suite again under AddressSanitizer +
#                           UndefinedBehaviorSanitizer in build-asan/, without a
#                           display and on a desktop (Xvfb and D-Bus), with a
#                           200,000-frame soak beside the rest; the rig and
#                           clip loaders fuzzed (clang's libFuzzer); then each
#                           platform's own check: Windows under Wine, the
#                           browser, the Debian package; last, once the soak
#                           is done, Lighthouse's audit of the browser page.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/jobs.sh
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

quick() {
  scripts/setup.sh
  local start=$SECONDS
  (cd build && ctest --output-on-failure -j"$AMBER_JOBS")
  echo "quick tier: $((SECONDS - start)) s of tests after the build"
}

# The suite in build-asan/ with AddressSanitizer's leak check on and every
# finding fatal. Leaks inside the desktop's system libraries (D-Bus, X),
# reached through SDL's start-up when a display and a D-Bus session are
# present, are not ours to judge: the build gives every test tests/lsan.supp,
# which names those libraries and nothing of the game's, whose own code stays
# fully leak-checked.
sanitizer_suite() {  # sanitizer_suite CTEST_ARGS...
  cd build-asan
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=print_suppressions=0 ctest --output-on-failure "$@"
}
export -f sanitizer_suite

# A desktop's session around a command: an Xvfb display and a D-Bus session
# (SDL's start-up talks to both, even with its dummy drivers).
on_a_desktop() {  # on_a_desktop COMMAND...
  local work status=0
  work=$(mktemp -d)
  . scripts/lib/xvfb.sh
  xvfb_start "$work"
  dbus-run-session -- "$@" || status=$?
  kill "$xvfb_pid"
  rm -rf "$work"
  unset DISPLAY
  return "$status"
}

deep() {
  local start=$SECONDS
  . scripts/lib/packages.sh
  install_parts deep
  [ -x build/amber-hollow ] || scripts/setup.sh

  echo "== tests under the sanitizers: build-asan/ =="
  cmake -S . -B build-asan -DAMBER_SANITIZE=ON -DAMBER_LONG_SOAK=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
  cmake --build build-asan -j"$AMBER_JOBS"
  # The 200,000-frame soak runs on one core for many minutes: it runs
  # beside everything below and is waited for at the end.
  echo "== the long soak, in the background (build-asan/soak.log) =="
  setsid bash -c 'sanitizer_suite -R "^Soak$"' >build-asan/soak.log 2>&1 &
  local soak=$!
  # shellcheck disable=SC2064 # the soak's id, now
  trap "kill -- -$soak 2>/dev/null || true" EXIT

  echo "== fuzzing =="
  tests/fuzz/run.sh 60

  # The real-window tests drive the system's X, D-Bus and GL libraries, whose
  # own leaks at exit are not ours to judge; they ran on the normal build.
  echo "== the sanitizer suite without a display =="
  (sanitizer_suite -j"$AMBER_JOBS" -E 'EndToEnd|^Soak$')
  echo "== the sanitizer suite on a desktop (Xvfb, D-Bus) =="
  # shellcheck disable=SC2016 # expanded by the inner shell
  on_a_desktop bash -c 'sanitizer_suite -j"$AMBER_JOBS" -E "EndToEnd|^Soak$"'

  # Every platform is checked: one whose script is missing stops the tier.
  for platform in windows web package; do
    if [ ! -x "scripts/$platform.sh" ]; then
      echo "deep tier: scripts/$platform.sh is missing or not executable, so the $platform build cannot be tested" >&2
      exit 1
    fi
    echo "== $platform =="
    "scripts/$platform.sh" --test
  done

  echo "== the workshop in an Xvfb window: a pivot dragged and saved =="
  bash tests/workshop/drag_and_save.sh build

  echo "== the long soak =="
  local soak_status=0
  wait "$soak" || soak_status=$?
  trap - EXIT
  cat build-asan/soak.log
  [ "$soak_status" = 0 ] || return "$soak_status"

  # Lighthouse's scores move with the machine's load, so the audit waits for
  # the soak and has both cores to itself.
  echo "== the browser page audited by Lighthouse =="
  scripts/web/lighthouse.sh build-web
  echo "deep tier: $((SECONDS - start)) s (load average $(cut -d' ' -f1-3 /proc/loadavg))"
}

case "${1:-}" in
  "") quick ;;
  --deep) deep ;;
  *) echo "usage: scripts/test.sh [--deep]" >&2; exit 2 ;;
esac
