#!/usr/bin/env bash
# The workshop in a real window: Wendle opened from a copy of his source,
# his head's picture slid along under its joint with the mouse (Shift and a
# drag, by xdotool), Ctrl+S, and the moved pivot found in the saved source and
# the game's files written beside it.
# usage: drag_and_save.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
pid=""
. "$source_dir/scripts/lib/xvfb.sh"
xvfb_start "$work" || exit 1
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy

cp -r "$source_dir/content/figures/wendle" "$source_dir/content/figures/wendle.json" "$work/"
"$build/amber-workshop" "$work/wendle.json" --out "$work/out" >"$work/log.txt" 2>&1 &
pid=$!
window=$(timeout 10 xdotool search --sync --name '^amber-workshop: wendle.json' 2>/dev/null | head -n 1)
[ -n "$window" ] || { echo "FAIL: the workshop's window did not open"; cat "$work/log.txt"; exit 1; }

# The stage starts 300 pixels in, at 1x; the head's picture covers stage
# pixel (128, 48). 14 stage pixels are 20 of his pictures' at the game's 0.7.
sleep 0.5
xdotool mousemove --window "$window" 428 48 && sleep 0.3
xdotool keydown shift && sleep 0.2
xdotool mousedown 1 && sleep 0.3
for x in 432 436 440 442; do xdotool mousemove --window "$window" "$x" 48; sleep 0.15; done
sleep 0.3
[ -n "${WORKSHOP_SHOT:-}" ] && import -window "$window" "$WORKSHOP_SHOT" && xdotool getwindowgeometry "$window"
xdotool mouseup 1 && sleep 0.2
xdotool keyup shift && sleep 0.2
xdotool key --window "$window" ctrl+s
for _ in $(seq 50); do [ -s "$work/out/body.jrig" ] && break; sleep 0.1; done

status=0
if grep -qF '{ "name": "head", "angle": 0, "pivot": [20, 73], "offset": [28, 9],' "$work/wendle.json"; then
  echo "ok: the head's pivot moved from [40, 73] to [20, 73] in the saved source"
else
  echo "FAIL: the saved head is"; grep '"name": "head"' "$work/wendle.json"; status=1
fi
changed=$(diff "$source_dir/content/figures/wendle.json" "$work/wendle.json" | grep -c '^>')
if [ "$changed" = 1 ]; then echo "ok: one line of the source changed"; else echo "FAIL: $changed lines changed"; status=1; fi
if [ -s "$work/out/body.jrig" ] && [ -s "$work/out/limb9.bmp" ]; then
  echo "ok: the game's files were written"
else
  echo "FAIL: no game files in --out"; status=1
fi
exit $status
