#!/usr/bin/env bash
# The real game in a real window: Xvfb for the display, the disk audio driver
# for the sound, xdotool for the player's hands and ImageMagick for the eyes.
# Then bad content one file at a time: the game names the file and the fault in
# one line (a broken sound is quietly silent), plays on and exits 0.
# With --wine, the player's Windows zip under Wine: the title, a click, a
# close, and an error line on standard output.
# usage: window_e2e.sh BUILD_DIR CLOSE_WINDOW_TOOL | --wine ZIP CLOSE_WINDOW_TOOL
set -u
work=$(mktemp -d)
passed=0 failed=0 pid=""
. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
xvfb_start "$work"
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
if [ "$1" = --wine ]; then
  unzip -q "$2" -d "$work" || exit 1
  wine=yes build="$work/amber-hollow" closer=$(realpath "$3") game=(wine "$work/amber-hollow/amber-hollow.exe")
else
  wine="" build=$(cd "$1" && pwd) closer=$2 game=("$build/amber-hollow")
fi

# check NAME COMMAND...
check() { if "${@:2}"; then echo "ok: $1"; passed=$((passed + 1)); else echo "FAIL: $1"; failed=$((failed + 1)); fi; }
# start DIR: the game in DIR, its stdout in $work/out.txt; sets $pid and $window.
start() {
  (cd "$1" && exec "${game[@]}" >"$work/out.txt" 2>/dev/null) &
  pid=$!
  window=$(timeout 10 xdotool search --sync --name '^amber hollow' 2>/dev/null | head -n 1)
}
stop() { kill -TERM "$pid" 2>/dev/null; wait "$pid"; status=$?; pid=""; }
shot() { import -window "$window" "$work/shot.png"; }
is_pixel() { convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | grep -q "#$3"; }
# Share (0..1) of pixels in a rectangle that are not the background grey.
not_grey() {
  convert "$work/shot.png" -crop "$1" +repage -fill black -opaque '#646464' -fill white +opaque black \
    -colorspace gray -format '%[fx:mean]' info:
}
more() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
sound_bytes() { tr -d '\000' 2>/dev/null <"$work/sound.raw" | wc -c; }

export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/sound.raw"
if [ -n "$wine" ]; then
  # Wine's session starts on this display first: one started without a
  # display shows no windows, and its start-up is not the game's.
  unset SDL_VIDEODRIVER
  export SDL_AUDIODRIVER=dummy
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1
else
  # A real X window, whatever driver the caller's environment names.
  export SDL_VIDEODRIVER=x11
fi
mkdir -p "$work/game" "$work/empty"
cp -r "$build/resources" "$work/game/"

# --- A full game: title, picture, a shot, sound, resize, close. ---
started=$SECONDS
start "$work/game"
check "window opens" [ -n "$window" ]
until title=$(xdotool getwindowname "$window"); [ "$title" = "amber hollow (FPS: 62)" ] ||
  ((SECONDS - started > 5)); do sleep 0.1; done
check "title shows the frame rate within 5 s: $title" [ "$title" = "amber hollow (FPS: 62)" ]
if [ -z "$wine" ]; then
check "window is 640 x 480" grep -q 'Geometry: 640x480' <<<"$(xdotool getwindowgeometry "$window")"
shot
check "grey background" is_pixel 630 150 646464
check "four lives: red at x 32, y 204" is_pixel 32 204 FF0000
check "four lives: red at x 95, y 211" is_pixel 95 211 FF0000
check "four lives: the bar's dark edge at x 96" is_pixel 96 207 0C0C10
check "hollow sweep line at x 96" is_pixel 96 300 969696
check "grey right of the sweep line" is_pixel 97 300 646464
# The border rows above and below the board, the previews above it.
for area in 640x32+0+224 640x32+0+448 64x32+96+192; do
  check "drawn over at least half of $area" more "$(not_grey $area)" 0.5
done
check "board row empty before a shot" [ "$(not_grey 200x32+110+288)" = 0 ]
fi

# A click in the second board row sends a piece along it, and only it.
sound_before=$(sound_bytes)
xdotool mousemove --window "$window" 300 300 click 1
sleep 0.6
shot
check "a piece flies along the clicked row" more "$(not_grey 200x32+110+288)" 0.02
check "the other rows stay empty" [ "$(not_grey 200x32+110+320)" = 0 ]
if [ -z "$wine" ]; then
# Keep firing into the wall as it arrives: matches and sticks make sound.
xdotool mousedown 1 sleep 5 mouseup 1 sleep 0.5
sound_after=$(sound_bytes)
check "sound once pieces meet the wall ($sound_before -> $sound_after bytes)" \
  more "$sound_after" $((sound_before + 1000))
# The board follows the window's bottom edge.
xdotool windowsize "$window" 800 600 sleep 0.5
shot
check "the lives bar moves down with the board" is_pixel 40 324 FF0000
check "no lives bar left where it was" is_pixel 40 207 646464
fi
"$closer" "$window"
wait "$pid"
check "closing the window exits 0" [ $? = 0 ]
pid=""
check "nothing on stdout with complete resources" [ ! -s "$work/out.txt" ]

if [ -n "$wine" ]; then
  # A console program: its error lines reach standard output. In an empty
  # folder every sheet is missing, and the game still plays on.
  start "$work/empty"
  "$closer" "$window"
  wait "$pid"
  check "empty folder: closing exits 0" [ $? = 0 ]
  pid=""
  check "empty folder: its error lines on stdout" grep -q '^Surface initialization error! : ' "$work/out.txt"
  echo "wine window: $passed passed, $failed failed"
  exit $((failed > 0))
fi
export SDL_AUDIODRIVER=dummy
SDL_VIDEODRIVER=dummy timeout 20 "${game[@]}" >"$work/dummy.txt"
check "no accelerated renderer: exit 0" [ $? = 0 ]
check "no accelerated renderer: its line on stdout" grep -q '^Renderer creation error! : ' "$work/dummy.txt"

start "$work/game"
stop
check "SIGTERM exits 0" [ "$status" = 0 ]

start "$work/empty"
sleep 0.5
stop
check "empty folder: plays on, exits 0" [ "$status" = 0 ]
check "empty folder: one line per sheet" [ "$(grep -c '^Surface initialization error! : ' "$work/out.txt")" = 3 ]
check "empty folder: every line a loading error" \
  [ "$(grep -c -v -E '^(Surface initialization|Rig loading|Clip loading) error! : ' "$work/out.txt")" = 0 ]

# --- Bad content: FILE FAULT EXPECTED_LINE (- for none) ---
bad() {
  local res="$work/case/resources" alive=no lines=1
  rm -rf "$work/case" && mkdir "$work/case" && cp -r "$build/resources" "$work/case/"
  case $2 in
    missing) rm "$res/$1" ;;
    empty) : >"$res/$1" ;;
    truncated) head -c 30 "$build/resources/$1" >"$res/$1" ;;
    garbage) head -c 3000 /dev/urandom >"$res/$1" ;;
  esac
  start "$work/case"
  sleep 0.4
  kill -0 "$pid" 2>/dev/null && alive=yes
  stop
  [ "$3" = - ] && lines=0
  check "$1 $2: alive, exit status, $lines line(s): $(head -c 150 "$work/out.txt")" \
    [ "$alive $status $(grep -c '' "$work/out.txt")" = "yes 0 $lines" ]
  [ $lines = 0 ] || check "$1 $2: the line names it" grep -q -E "$3" "$work/out.txt"
}
sheet='^Surface initialization error! : '
bad debug.bmp missing "$sheet"
bad courier.bmp garbage "$sheet"
bad wendle/limb0.bmp truncated "$sheet"
bad s1.wav garbage -
bad s3.wav missing -
bad wendle/body.jrig truncated '^Rig loading error! : resources.wendle.body\.jrig: boneCount 10 announces'
bad debugman/idle.janim missing '^Clip loading error! : resources.debugman.idle\.janim: file is missing'
bad debugman/attack.janim empty '^Clip loading error! : resources.debugman.attack\.janim: the attack clip holds no'

echo "window e2e: $passed passed, $failed failed"
[ "$failed" = 0 ]
