#!/usr/bin/env bash
# The player's zip under Wine in an Xvfb window: unpacked, started, its title
# within 5 s, a click fires a piece along its row, a window-manager close ends
# it with status 0. usage: wine_window_e2e.sh ZIP CLOSE_WINDOW_TOOL
set -u
zip=$(realpath "$1") closer=$(realpath "$2") work=$(mktemp -d)
passed=0 failed=0 xvfb_pid="" game_pid=""
trap '[ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid"; rm -rf "$work"' EXIT
check() {  # check NAME COMMAND...
  local name=$1; shift
  if "$@"; then echo "ok: $name"; passed=$((passed + 1)); else echo "FAIL: $name"; failed=$((failed + 1)); fi
}
# Share (0..1) of pixels in a rectangle of the last screenshot that are not the background grey.
not_grey() { convert "$work/shot.png" -crop "$1" +repage -fill black -opaque '#646464' -fill white +opaque black \
  -colorspace gray -format '%[fx:mean]' info:; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
# Wine's session (its services and desktop) starts on this display before the
# clock does; a session started without a display would show no windows.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
unzip -q "$zip" -d "$work" && cd "$work/amber-hollow" || exit 1
start=$(date +%s%N)
env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy wine amber-hollow.exe >"$work/stdout.txt" 2>/dev/null &
game_pid=$!
window=""
while [ -z "$window" ] && [ $(($(date +%s%N) - start)) -lt 5000000000 ]; do
  window=$(xdotool search --name '^amber hollow \(FPS: 62\)$' 2>/dev/null | head -n 1)
  [ -n "$window" ] || sleep 0.1
done
check "title 'amber hollow (FPS: 62)' after $((($(date +%s%N) - start) / 1000000)) ms" [ -n "$window" ]
[ -n "$window" ] || { echo "wine window probe: $passed passed, 1 failed (no window)"; exit 1; }

xdotool mousemove --window "$window" 300 300 click 1
sleep 0.6
import -window "$window" "$work/shot.png"
check "a click fires a piece along the second row" awk -v s="$(not_grey 200x32+110+288)" 'BEGIN { exit !(s > 0.02) }'
check "the third row stays empty" [ "$(not_grey 200x32+110+320)" = 0 ]

"$closer" "$window"
wait "$game_pid"
status=$?
game_pid=""
check "closing the window exits with status 0 (got $status)" [ "$status" = 0 ]
check "nothing on standard output" [ ! -s "$work/stdout.txt" ]
echo "wine window probe: $passed passed, $failed failed"
[ "$failed" = 0 ]
