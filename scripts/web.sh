#!/usr/bin/env bash
# amber hollow in the browser. Builds build-web/ (index.html, amber-hollow.js,
# .wasm and .data, each gzipped beside it for the page) with Debian's
# emscripten, then serves it on 127.0.0.1.
#
#   scripts/web.sh              build, then serve until Ctrl-C (port 8642)
#   scripts/web.sh --port N     the same on port N
#   scripts/web.sh --no-serve   build only
# Every mode but serving ends the build with a first visit in Chromium from a
# server that does not compress, its bytes file by file (tests/web/first_visit.mjs).
#   scripts/web.sh --test       build, then the end-to-end test in Chromium
#                               (desktop, phone, installed app) and Firefox,
#                               and the scripted game's digest in both, which
#                               must equal the native build's
#   scripts/web.sh --shot       build, then the README's browser pictures
#   scripts/web.sh --bench      build, then ten first visits in Chromium, timed
#                               to the first frame (bench/results/)
#
# SDL2 and SDL2_mixer come from Debian's source packages of the same versions
# as the native -dev packages, built once with scripts/web/deps/CMakeLists.txt
# into the shared cache of scripts/lib/deps.sh. The game's resources/ and
# icons come from the native build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/deps.sh
. scripts/lib/node_modules.sh
root=$amber_root
mode=serve
port=8642
while [ $# -gt 0 ]; do
  case $1 in
    --no-serve) mode=build ;;
    --test) mode=test ;;
    --shot) mode=shot ;;
    --bench) mode=bench ;;
    --port) port=$2; shift ;;
    *) echo "usage: scripts/web.sh [--no-serve | --test | --shot | --bench | --port N]" >&2; exit 2 ;;
  esac
  shift
done
start=$SECONDS

# Every mode but serving measures a first visit, in Chromium (below); serving
# to play needs no browser of ours.
parts=(build web)
[ "$mode" = serve ] || parts+=(web-browser)
install_parts "${parts[@]}"
[ "$mode" = serve ] || command -v npm >/dev/null || scripts/install.sh npm

echo "== native resources (build/) =="
native=(content_icons)
[ "$mode" = test ] && native+=(amber-capture amber-replay amber-turned-copies)
native_content "${native[@]}"

# emcc runs node, which does not look in Debian's node module folder itself.
export NODE_PATH=/usr/share/nodejs
toolchain=-DCMAKE_TOOLCHAIN_FILE=$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake

echo "== SDL2 and SDL2_mixer for the browser =="
web_sdl_recipe() {  # web_sdl_recipe SOURCES_DIR PREFIX WORK_DIR
  cmake "$toolchain" -S "$root/scripts/web/deps" -B "$3/build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$2" -DSDL2_SOURCE="$(echo "$1"/libsdl2-2*/)" \
    -DSDL2_MIXER_SOURCE="$(echo "$1"/libsdl2-mixer-2*/)" >/dev/null
  cmake --build "$3/build" -j"$AMBER_JOBS" >/dev/null
  cmake --install "$3/build" >/dev/null
}
deps_key_extra=$(cat scripts/web/deps/CMakeLists.txt scripts/web/deps/*.patch)
cross_deps web web_sdl_recipe "emscripten $(dpkg-query -W -f='${Version}' emscripten)" libsdl2-dev libsdl2-mixer-dev
prefix=$deps_prefix

echo "== the game for the browser (build-web/) =="
cmake "$toolchain" -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING="$([ "$mode" = test ] && echo ON || echo OFF)" \
  -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2_mixer_DIR="$prefix/lib/cmake/SDL2_mixer" \
  -DAMBER_CONTENT_DIR="$root/build/resources" -DAMBER_WEB_ICONS="$root/build/icons" >/dev/null
cmake --build build-web -j"$AMBER_JOBS" >/dev/null
# The page fetches the gzipped files the build made beside these.
raw=0 packed=0
for f in amber-hollow.wasm amber-hollow.js amber-hollow.data; do
  raw=$((raw + $(stat -c %s "build-web/$f"))) packed=$((packed + $(stat -c %s "build-web/$f.gz")))
  printf '%-20s %8d bytes, %8d gzipped (%s.gz)\n' "$f" "$(stat -c %s "build-web/$f")" "$(stat -c %s "build-web/$f.gz")" "$f"
done
printf '%-20s %8d bytes, %8d gzipped\n' together $raw $packed
echo "built in $((SECONDS - start)) s"
# Everything a first visit moves from a server that does not compress, file
# by file; above the page's budget the build fails.
if [ "$mode" != serve ]; then
  web_node_modules
  node tests/web/first_visit.mjs build-web
fi

case $mode in
  build) ;;
  serve)
    echo "Play at http://127.0.0.1:$port/ (Ctrl-C stops the server)"
    exec python3 -m http.server --bind 127.0.0.1 --directory build-web "$port"
    ;;
  test | shot | bench)
    # Firefox plays in a window, on a virtual display.
    run=(xvfb-run -a -s "-screen 0 1280x1024x24" node)
    if [ "$mode" = shot ]; then
      "${run[@]}" tests/web/shots.mjs build-web docs/pictures
      exit
    fi
    if [ "$mode" = bench ]; then
      mkdir -p bench/results
      node bench/web_first_frame.mjs build-web | tee bench/results/web_first_frame.txt
      exit
    fi
    mkdir -p build-web/test
    # The native start frame, drawn by the software renderer.
    echo "shot 1 $root/build-web/test/start-native.png" >build-web/test/start.capture
    (cd build && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./amber-capture ../build-web/test/start.capture)
    native_digest=$(cd build && ./amber-replay) || { echo "the native scripted game broke its rules: $native_digest" >&2; exit 1; }
    # The browser's SDL turns copies with patched code; its pixels must be SDL's own.
    turned_native=$(build/amber-turned-copies) turned_web=$(node build-web/test/amber-turned-copies.js)
    echo "turned copies: native $turned_native; browser $turned_web"
    [ "$turned_native" = "$turned_web" ] || { echo "the browser's SDL turns copies unlike SDL's own" >&2; exit 1; }
    "${run[@]}" tests/web/browser_test.mjs build-web "$native_digest" chromium firefox
    ;;
esac
