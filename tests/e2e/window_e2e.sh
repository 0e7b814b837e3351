#!/usr/bin/env bash
# The real game in a real window: Xvfb for the display, the disk audio driver
# for the sound, xdotool for the player's hands and ImageMagick for the eyes.
# usage: window_e2e.sh BUILD_DIR CLOSE_WINDOW_TOOL
set -u
build=$(cd "$1" && pwd)
closer=$2
game="$build/amber-hollow"
work=$(mktemp -d)
passed=0
failed=0
xvfb_pid=""
game_pid=""

cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    echo "ok: $name"
    passed=$((passed + 1))
  else
    echo "FAIL: $name"
    failed=$((failed + 1))
  fi
}

# Colour of one window pixel in the latest screenshot, as RRGGBB.
pixel() { convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | tail -n 1 | grep -o '#[0-9A-Fa-f]\{6\}' | tr -d '#'; }
is_pixel() { [ "$(pixel "$1" "$2")" = "$3" ]; }
# Share (0..1) of pixels in a rectangle that are not the background grey.
not_grey_share() {
  convert "$work/shot.png" -crop "$1" +repage -fill black -opaque '#646464' -fill white +opaque black \
    -colorspace gray -format '%[fx:mean]' info:
}
not() { ! "$@"; }
more_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
screenshot() { import -window "$window" "$work/shot.png"; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
# A real X window, whatever driver the caller's environment names.
export SDL_VIDEODRIVER=x11

# --- A full game: title, picture, a shot, sound, resize, close. ---
mkdir -p "$work/game"
cp -r "$build/resources" "$work/game/"
cd "$work/game"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw" "$game" >"$work/stdout.txt" 2>"$work/stderr.txt" &
game_pid=$!
window=$(timeout 10 xdotool search --sync --name '^amber hollow' | head -n 1)
check "window opens" [ -n "$window" ]
title=""
for _ in $(seq 20); do
  title=$(xdotool getwindowname "$window")
  [ "$title" = "amber hollow (FPS: 62)" ] && break
  sleep 0.1
done
check "title shows the frame rate: $title" [ "$title" = "amber hollow (FPS: 62)" ]
WIDTH=0 HEIGHT=0
[ -n "$window" ] && eval "$(xdotool getwindowgeometry --shell "$window")"
check "window is 640 x 480" [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ]

screenshot
check "grey background" is_pixel 630 150 646464
check "lives bar is red at x 32..95, y 204..211" is_pixel 32 204 FF0000
check "lives bar ends at x 95" is_pixel 95 211 FF0000
check "lives bar is four lives long" not is_pixel 96 207 FF0000
check "sweep line outline at x 96" is_pixel 96 300 969696
check "sweep line is hollow" is_pixel 97 300 646464
check "border runs across above the board" more_than "$(not_grey_share 640x32+0+224)" 0.5
check "border runs across below the board" more_than "$(not_grey_share 640x32+0+448)" 0.5
check "colour previews above the board" more_than "$(not_grey_share 64x32+96+192)" 0.5
check "board row is empty before a shot" [ "$(not_grey_share 200x32+110+288)" = 0 ]

# A click in the second board row sends a piece along it.
sound_before=$(tr -d '\000' <"$work/sound.raw" 2>/dev/null | wc -c)
xdotool mousemove --window "$window" 300 300 click 1
sleep 0.6
screenshot
check "a piece flies along the clicked row" more_than "$(not_grey_share 200x32+110+288)" 0.02
check "the other rows stay empty" [ "$(not_grey_share 200x32+110+320)" = 0 ]

# Keep firing into the wall as it arrives: matches and sticks make sound.
xdotool mousedown 1
sleep 5
xdotool mouseup 1
sleep 0.5
sound_after=$(tr -d '\000' <"$work/sound.raw" | wc -c)
check "sound after pieces meet the wall ($sound_before -> $sound_after non-zero bytes)" \
  more_than "$sound_after" "$((sound_before + 1000))"

# The board follows the window's bottom edge.
xdotool windowsize "$window" 800 600
sleep 0.5
screenshot
check "lives bar moves down with the board" is_pixel 40 324 FF0000
check "nothing red where the lives bar was" is_pixel 40 207 646464

"$closer" "$window"
wait "$game_pid"
status=$?
game_pid=""
check "closing the window exits 0" [ "$status" = 0 ]
check "nothing on stdout with complete resources" [ ! -s "$work/stdout.txt" ]

# --- SIGTERM ends the game cleanly. ---
SDL_AUDIODRIVER=dummy "$game" >/dev/null 2>&1 &
game_pid=$!
timeout 10 xdotool search --sync --pid "$game_pid" >/dev/null
kill -TERM "$game_pid"
wait "$game_pid"
status=$?
game_pid=""
check "SIGTERM exits 0" [ "$status" = 0 ]

# --- An empty folder: one line per missing sheet, and the game runs on. ---
mkdir -p "$work/empty"
cd "$work/empty"
SDL_AUDIODRIVER=dummy "$game" >"$work/empty.txt" 2>/dev/null &
game_pid=$!
timeout 10 xdotool search --sync --pid "$game_pid" >/dev/null
sleep 0.5
kill -TERM "$game_pid"
wait "$game_pid"
status=$?
game_pid=""
check "empty folder: still runs and exits 0" [ "$status" = 0 ]
check "empty folder: three sheet lines" [ "$(grep -c '^Surface initialization error! : ' "$work/empty.txt")" = 3 ]
check "empty folder: every line is a loading error" \
  [ "$(grep -c -v -E '^(Surface initialization|Rig loading|Clip loading) error! : ' "$work/empty.txt")" = 0 ]

# --- No accelerated renderer (the dummy driver): a clear line, exit 0. ---
cd "$work/game"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout 10 "$game" >"$work/dummy.txt" 2>/dev/null
status=$?
check "dummy video: exits 0 at once" [ "$status" = 0 ]
check "dummy video: renderer line" grep -q '^Renderer creation error! : ' "$work/dummy.txt"

echo "window e2e: $passed passed, $failed failed"
[ "$failed" = 0 ]
