#!/usr/bin/env bash
# The Windows build's tests under Wine, in the Wine session that
# scripts/windows.sh started: the unit and rendering suite headless, the
# scripted replay's digest against the native build's, the game a console
# program (Windows CUI), then the player's zip in an Xvfb window
# (tests/e2e/window_e2e.sh --wine). Prints a summary and
# fails when any part failed.
# usage: scripts/windows/wine-tests.sh BUILD_DIR ZIP
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/lib/wine.sh"
. "$root/scripts/lib/jobs.sh"
build=$(cd "$1" && pwd) zip=$2
failed=0
summary=()
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

echo "== a console program =="
# SDL's entry shim and the error lines in the player's console.
subsystem=$(x86_64-w64-mingw32-objdump -p "$build/amber-hollow.exe" | grep '^Subsystem')
echo "$subsystem"
if grep -q '(Windows CUI)' <<<"$subsystem"; then
  summary+=("amber-hollow.exe: a console program ($(echo $subsystem))")
else
  summary+=("amber-hollow.exe: NOT a console program ($(echo $subsystem))")
  failed=1
fi

echo "== unit and rendering tests under Wine (headless) =="
# Left out here, as they cannot run under Wine: the window end-to-end tests
# (X11 tools; the Windows window is probed below), the content generator's
# tests (a host program) and the benchmarks' check (POSIX only).
(cd "$build" && ctest --output-on-failure -j"$AMBER_JOBS" --timeout 900) | tee "$build/wine-tests.txt" || failed=1
summary+=("unit and rendering suite under Wine: $(grep -E 'tests passed|tests failed' "$build/wine-tests.txt" | tail -n 1)")

echo "== scripted replay: native and Windows =="
native=$(cd "$root/build" && ./amber-replay | grep '^replay digest')
windows=$(cd "$build" && wine amber-replay.exe | tr -d '\r' | grep '^replay digest')
echo "native:  $native"
echo "windows: $windows"
if [ -n "$native" ] && [ "$native" = "$windows" ]; then
  summary+=("replay digest: the same on Windows as natively ($native)")
else
  summary+=("replay digest: DIFFERS (native '$native', windows '$windows')")
  failed=1
fi

echo "== the zipped game under Wine in an Xvfb window =="
# The headless session above has no display: end it so that the window
# test's session starts on its Xvfb.
wine_session_stop
"$root/tests/e2e/window_e2e.sh" --wine "$zip" "$root/build/tests/close-window" | tee "$build/wine-window.txt" ||
  failed=1
summary+=("$(tail -n 1 "$build/wine-window.txt")")

echo "== windows summary =="
printf '%s\n' "${summary[@]}"
exit "$failed"
