#!/usr/bin/env bash
# The .deb as a player's machine sees it: lintian finds no errors, the metainfo,
# desktop entry and icons validate, and dpkg installs it, the launcher on PATH
# starts the game from an unrelated folder under Xvfb, and removal leaves none
# of its files behind. usage: package_test.sh DEB   (as root)
set -u
deb=$(readlink -f "$1")
work=$(mktemp -d)
failed=0 xvfb_pid="" game_pid=""
trap '[ -n "$game_pid" ] && kill $game_pid; [ -n "$xvfb_pid" ] && kill $xvfb_pid; rm -rf "$work"' EXIT
check() { if "${@:2}"; then echo "ok: $1"; else echo "FAIL: $1"; failed=$((failed + 1)); fi; }
# dpkg does not wait for a lock another installer holds, so wait here.
dpkg_() { for _ in $(seq 180); do dpkg "$@" >"$work/dpkg.txt" 2>&1 && return 0
  grep -q lock "$work/dpkg.txt" || { cat "$work/dpkg.txt"; return 1; }; sleep 5; done; return 1; }
icon_sizes_match() { for png in "$work"/root/usr/share/icons/hicolor/*/apps/*.png; do
  size=$(basename "$(dirname "$(dirname "$png")")"); file "$png" | grep -q ", ${size/x/ x }," || return 1; done; }
echo "== lintian =="; lintian -I --pedantic "$deb" 2>/dev/null | tee "$work/lintian.txt"
check "lintian: no errors or warnings ($(wc -l <"$work/lintian.txt") tags in all, info and pedantic included)" [ "$(grep -c '^[EW]:' "$work/lintian.txt")" = 0 ]
dpkg-deb -x "$deb" "$work/root"
echo "== appstreamcli =="; check "metainfo validates" appstreamcli validate-tree --no-net --pedantic --strict "$work/root"
check "desktop entry validates" desktop-file-validate "$work"/root/usr/share/applications/*.desktop
check "icons are the sizes their folders name" icon_sizes_match
check "dpkg -i installs it" dpkg_ -i "$deb"
dpkg -L amber-hollow >"$work/files.txt"
. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
xvfb_start "$work"
mkdir "$work/elsewhere" && cd "$work/elsewhere"
# Players' PATH has /usr/games; root's may not.
SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy PATH="$PATH:/usr/games" amber-hollow >"$work/stdout.txt" 2>/dev/null &
game_pid=$!
window=$(timeout 10 xdotool search --sync --name '^amber hollow' | head -n 1)
title=""
for _ in $(seq 30); do title=$(xdotool getwindowname "$window" 2>/dev/null); [ "$title" = "amber hollow (FPS: 62)" ] && break; sleep 0.1; done
check "window titled 'amber hollow (FPS: 62)': '$title'" [ "$title" = "amber hollow (FPS: 62)" ]
kill -TERM "$game_pid"; wait "$game_pid"; status=$?; game_pid=""
check "SIGTERM ends it with status 0 ($status)" [ "$status" = 0 ]
check "nothing on stdout" [ ! -s "$work/stdout.txt" ]
check "dpkg -r removes it" dpkg_ -r amber-hollow
check "dpkg -P purges it" dpkg_ -P amber-hollow
# Shared folders such as /usr/games stay; every file and every folder of its own goes.
while read -r f; do [ -e "$f" ] && { [ ! -d "$f" ] || [[ $f == *amber?hollow* ]]; } && echo "left: $f"; done <"$work/files.txt" >"$work/left.txt"
check "every installed file is gone ($(wc -l <"$work/files.txt") paths listed)" [ ! -s "$work/left.txt" ]
cat "$work/left.txt"
echo "package test: $failed failed"
[ "$failed" = 0 ]
