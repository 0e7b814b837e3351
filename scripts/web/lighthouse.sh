#!/usr/bin/env bash
# Lighthouse's audit of the browser build, as a web developer would run it:
# build-web/ served by `python3 -m http.server` (which does not compress),
# Debian's Chromium headless, the phone preset three times (their median, as
# the scores move with the machine's load) and the desktop preset once.
# Prints the four scores of each with total blocking time and largest
# contentful paint, and fails below the targets (tests/web/lighthouse.mjs; the
# phone's total blocking time is printed but not failed).
#
#   scripts/web/lighthouse.sh [BUILD_WEB_DIR]   (default build-web, made by scripts/web.sh)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib/packages.sh
. scripts/lib/node_modules.sh
dir=${1:-build-web}
[ -f "$dir/index.html" ] || { echo "no browser build in $dir: run scripts/web.sh --no-serve first" >&2; exit 1; }
install_parts web-browser
command -v npm >/dev/null || scripts/install.sh npm
web_node_modules

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$dir" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server' EXIT
for _ in $(seq 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('http://127.0.0.1:$port/')" 2>/dev/null && break
  sleep 0.1
done
node tests/web/lighthouse.mjs "http://127.0.0.1:$port/"
