#!/usr/bin/env bash
# Bad content, one file at a time: the real game starts in a real window
# (Xvfb) against a copy of resources/ with one file missing, empty, truncated
# or garbage. Every case must say what is wrong in its one line (sounds are
# quietly silent), keep running, and end with status 0 on SIGTERM.
# usage: bad_content_e2e.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
game="$build/amber-hollow"
work=$(mktemp -d)
passed=0
failed=0
xvfb_pid=""

cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")" SDL_AUDIODRIVER=dummy
# A real X window, whatever driver the caller's environment names.
export SDL_VIDEODRIVER=x11

# Little-endian records for hand-made rig and clip files.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) $((($1 >> 24) & 255)); }
one='\x00\x00\x80\x3f'  # 1.0f
zero='\x00\x00\x00\x00'
# bone ANGLE SCALE PX PY OX OY LIMB LAYER CHILD...
bone() {
  local out="$zero$one$(le32 "$1")$(le32 "$2")$(le32 "$3")$(le32 "$4")$(le32 $(($# - 6)))"
  out="$out$(printf '\\x%02x\\x%02x' "$5" "$6")"
  shift 6
  for c in "$@"; do out="$out$(le32 "$c")"; done
  printf '%s' "$out"
}
rig() {  # rig BONES LIMBS RECORDS
  printf "$(le32 "$1")$(le32 "$2")$3"
}
keyframe() { printf "$zero$(le32 "$1")$(le32 "$2")$(le32 "$3")"; }  # bone start duration

# run_case NAME EXPECTED_LINE_REGEX|-  (the fault has been applied to $work/case)
run_case() {
  local name=$1 expect=$2
  (cd "$work/case" && exec "$game" >"$work/out.txt" 2>/dev/null) &
  local pid=$!
  local window
  window=$(timeout 10 xdotool search --sync --pid "$pid" 2>/dev/null | head -n 1)
  sleep 0.4
  local alive=no
  kill -0 "$pid" 2>/dev/null && alive=yes
  kill -TERM "$pid" 2>/dev/null
  wait "$pid"
  local status=$?
  local lines
  lines=$(grep -c '' "$work/out.txt")
  local ok=yes why=""
  [ -n "$window" ] || { ok=no; why="no window"; }
  [ "$alive" = yes ] || { ok=no; why="$why; died"; }
  [ "$status" = 0 ] || { ok=no; why="$why; exit $status"; }
  if [ "$expect" = - ]; then
    [ "$lines" = 0 ] || { ok=no; why="$why; unexpected output"; }
  else
    [ "$lines" = 1 ] && grep -q -E "$expect" "$work/out.txt" || { ok=no; why="$why; expected one line like /$expect/"; }
  fi
  if [ "$ok" = yes ]; then
    passed=$((passed + 1))
    echo "ok: $name: $(head -c 200 "$work/out.txt" | head -n 1)"
  else
    failed=$((failed + 1))
    echo "FAIL: $name:$why"
    sed 's/^/    /' "$work/out.txt"
  fi
}

fresh() {
  rm -rf "$work/case"
  mkdir -p "$work/case"
  cp -r "$build/resources" "$work/case/"
}
res="$work/case/resources"

for sheet in debug.bmp border.bmp courier.bmp wendle/limb0.bmp; do
  fresh; rm "$res/$sheet"; run_case "$sheet missing" '^Surface initialization error! : '
  fresh; : >"$res/$sheet"; run_case "$sheet empty" '^Surface initialization error! : '
  fresh; head -c 70 "$build/resources/$sheet" >"$res/$sheet"; run_case "$sheet truncated" '^Surface initialization error! : '
  fresh; head -c 3000 /dev/urandom >"$res/$sheet"; run_case "$sheet garbage" '^Surface initialization error! : '
done

for sound in s1.wav s3.wav; do
  fresh; rm "$res/$sound"; run_case "$sound missing (silent)" -
  fresh; head -c 100 "$build/resources/$sound" >"$res/$sound"; run_case "$sound truncated (silent)" -
  fresh; head -c 3000 /dev/urandom >"$res/$sound"; run_case "$sound garbage (silent)" -
done

rigline='^Rig loading error! : resources.wendle.body\.jrig: '
fresh; rm "$res/wendle/body.jrig"; run_case "rig missing" "$rigline"
fresh; : >"$res/wendle/body.jrig"; run_case "rig empty" "$rigline"
fresh; head -c 20 "$build/resources/wendle/body.jrig" >"$res/wendle/body.jrig"; run_case "rig truncated" "$rigline"
fresh; head -c 400 /dev/urandom >"$res/wendle/body.jrig"; run_case "rig garbage" "$rigline"
fresh; rig 2 1 "$(bone 5 5 10 10 0 0 1)$(bone 5 5 0 0 0 1 0)" >"$res/wendle/body.jrig"
run_case "rig lists the root as a child" "$rigline"
fresh; rig 3 1 "$(bone 5 5 10 10 0 0 1)$(bone 5 5 0 0 0 1 2)$(bone 5 5 0 0 0 2 1)" >"$res/wendle/body.jrig"
run_case "rig with a cycle" "$rigline"
fresh; rig 2 1 "$(bone 5 5 10 10 0 0 9)$(bone 5 5 0 0 0 1)" >"$res/wendle/body.jrig"
run_case "rig child names no bone" "$rigline"
fresh; rig 1 11 "$(bone 5 5 10 10 0 0)" >"$res/wendle/body.jrig"
run_case "rig with eleven limbs" "$rigline"

clipline='^Clip loading error! : resources.debugman.(idle|attack)\.janim: '
fresh; rm "$res/debugman/idle.janim"; run_case "idle clip missing" "$clipline"
fresh; keyframe 0 0 0 >"$res/debugman/idle.janim"; run_case "clip with duration 0" "$clipline"
fresh; keyframe 99 0 5 >"$res/debugman/idle.janim"; run_case "clip keyframe names no bone" "$clipline"
fresh; : >"$res/debugman/attack.janim"; run_case "empty attack clip" "$clipline"

echo "bad content e2e: $passed passed, $failed failed"
[ "$failed" = 0 ]
