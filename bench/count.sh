#!/usr/bin/env bash
# Counts the instructions of one heavy-load Board::update and one 640 x 480
# Game::render frame under callgrind and writes them to RESULTS; a profile of
# the frame (top functions, inclusive) goes to PROFILE.
# usage: bench/count.sh BUILD_DIR RESULTS PROFILE
set -euo pipefail
build=$(cd "$1" && pwd)
results=$2
profile=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

count() {  # count WHAT -> instructions
  (cd "$build" && valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no \
    --callgrind-out-file="$work/$1.out" ./amber-bench-count "$1" >/dev/null 2>&1)
  awk '/^totals:/ { print $2 }' "$work/$1.out"
}

board=$(count board)
render=$(count render)
# The frame's instructions spent in our own code (the game's functions, not
# SDL's, the C library's or the maths library's).
own=$(callgrind_annotate --threshold=100 "$work/render.out" 2>/dev/null |
  awk '/amber-bench-count\]$/ { gsub(",", "", $1); sum += $1 } END { print sum + 0 }')
pieces=500
budget=$((150 * pieces + 5000))
{
  echo "# Instructions (callgrind Ir) of exactly one call, counted by bench/count.sh."
  echo "# A change that raises these numbers shows up in review."
  echo "board_update_heavy_500_pieces $board"
  echo "board_update_budget $budget"
  echo "game_render_640x480_heavy $render"
  echo "game_render_own_code $own"
} >"$results"
cat "$results"
# Whole listings first: cutting a pipe short would fail the script under pipefail.
callgrind_annotate --inclusive=yes "$work/render.out" >"$work/inclusive.txt" 2>/dev/null
callgrind_annotate "$work/render.out" >"$work/self.txt" 2>/dev/null
{
  echo "# One 640 x 480 Game::render frame at the heavy load, callgrind Ir."
  echo "## Self"
  sed -n '/file:function/,$p' "$work/self.txt" | sed -n 3,22p
  echo "## Inclusive"
  sed -n '/file:function/,$p' "$work/inclusive.txt" | sed -n 3,30p
} >"$profile"
