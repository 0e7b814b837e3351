#!/usr/bin/env bash
# amber hollow in the browser. Builds build-web/ (index.html, amber-hollow.js,
# .wasm and .data) with Debian's emscripten, then serves it on 127.0.0.1.
#
#   scripts/web.sh              build, then serve until Ctrl-C (port 8642)
#   scripts/web.sh --port N     the same on port N
#   scripts/web.sh --no-serve   build only
#   scripts/web.sh --test       build, then the end-to-end test in Chromium
#                               (desktop, phone, installed app) and Firefox,
#                               and the scripted game's digest in both, which
#                               must equal the native build's
#   scripts/web.sh --shot       build, then the README's browser pictures
#
# SDL2 and SDL2_mixer come from Debian's source packages of the same versions
# as the native -dev packages, fetched by scripts/fetch-sources.sh (a private
# apt configuration; the system's own sources stay as they are) and built once into build-web/deps, or into
# $AMBER_DEPS_CACHE/web when that is set; a new package version rebuilds them.
# The game's resources/ and icons come from the native build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
mode=serve
port=8642
while [ $# -gt 0 ]; do
  case $1 in
    --no-serve) mode=build ;;
    --test) mode=test ;;
    --shot) mode=shot ;;
    --port) port=$2; shift ;;
    *) echo "usage: scripts/web.sh [--no-serve | --test | --shot | --port N]" >&2; exit 2 ;;
  esac
  shift
done
start=$SECONDS

# What the native build needs to configure, and the web's own tools.
packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libsdl2-ttf-dev
  libsndfile1-dev nlohmann-json3-dev fonts-liberation2 librsvg2-dev libgtest-dev libbenchmark-dev
  emscripten dpkg-dev python3)
# The browser test's: Debian's browsers, and node for puppeteer-core, which drives them.
[ "$mode" = test ] || [ "$mode" = shot ] && packages+=(chromium firefox-esr xvfb xauth nodejs)
scripts/install.sh "${packages[@]}"
[ "$mode" = serve ] || [ "$mode" = build ] || command -v npm >/dev/null || scripts/install.sh npm

echo "== native resources (build/) =="
native_targets=(content_media content_figures content_icons)
[ "$mode" = test ] && native_targets+=(amber-capture amber-replay)
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target "${native_targets[@]}" >/dev/null

# emcc runs node, which does not look in Debian's node module folder itself.
export NODE_PATH=/usr/share/nodejs
toolchain=-DCMAKE_TOOLCHAIN_FILE=$(em-config EMSCRIPTEN_ROOT)/cmake/Modules/Platform/Emscripten.cmake

echo "== SDL2 and SDL2_mixer for the browser =="
deps=${AMBER_DEPS_CACHE:+$AMBER_DEPS_CACHE/web}
deps=${deps:-$root/build-web/deps}
# The same versions as the native -dev packages.
sdl_version=$(dpkg-query -W -f='${source:Version}' libsdl2-dev)
mixer_version=$(dpkg-query -W -f='${source:Version}' libsdl2-mixer-dev)
recipe=$(cat scripts/web/deps/CMakeLists.txt | sha256sum | cut -c1-12)
prefix=$deps/sdl2-$sdl_version-mixer-$mixer_version-emscripten-$(dpkg-query -W -f='${Version}' emscripten)-$recipe
if [ ! -f "$prefix/built" ]; then
  work=$deps/work
  rm -rf "$work" "$prefix"
  mkdir -p "$work"
  scripts/fetch-sources.sh "$deps/apt" "$work" "libsdl2=$sdl_version" "libsdl2-mixer=$mixer_version"
  cmake "$toolchain" -S scripts/web/deps -B "$work/build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DSDL2_SOURCE="$(echo "$work"/libsdl2-2*/)" -DSDL2_MIXER_SOURCE="$(echo "$work"/libsdl2-mixer-2*/)" >/dev/null
  cmake --build "$work/build" -j2 >/dev/null
  cmake --install "$work/build" >/dev/null
  touch "$prefix/built"
  rm -rf "$work"
fi
echo "SDL2 $sdl_version, SDL2_mixer $mixer_version in $prefix"

echo "== the game for the browser (build-web/) =="
cmake "$toolchain" -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING="$([ "$mode" = test ] && echo ON || echo OFF)" \
  -DSDL2_DIR="$prefix/lib/cmake/SDL2" -DSDL2_mixer_DIR="$prefix/lib/cmake/SDL2_mixer" \
  -DAMBER_CONTENT_DIR="$root/build/resources" -DAMBER_WEB_ICONS="$root/build/icons" >/dev/null
cmake --build build-web -j2 >/dev/null
raw=0 packed=0
for f in amber-hollow.wasm amber-hollow.js amber-hollow.data; do
  raw=$((raw + $(stat -c %s "build-web/$f"))) packed=$((packed + $(gzip -9c "build-web/$f" | wc -c)))
  printf '%-20s %8d bytes, %8d gzipped\n' "$f" "$(stat -c %s "build-web/$f")" "$(gzip -9c "build-web/$f" | wc -c)"
done
printf '%-20s %8d bytes, %8d gzipped\n' together $raw $packed
echo "built in $((SECONDS - start)) s"

case $mode in
  build) ;;
  serve)
    echo "Play at http://127.0.0.1:$port/ (Ctrl-C stops the server)"
    exec python3 -m http.server --bind 127.0.0.1 --directory build-web "$port"
    ;;
  test | shot)
    # puppeteer-core as tests/web/package-lock.json pins it, from the npm
    # registry; it fetches no browser of its own.
    if ! cmp -s tests/web/package-lock.json tests/web/node_modules/.amber-lock; then
      (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
      cp tests/web/package-lock.json tests/web/node_modules/.amber-lock
    fi
    # Firefox gets a window on a virtual display: headless, it has no WebGL here.
    run=(xvfb-run -a -s "-screen 0 1280x1024x24" node)
    if [ "$mode" = shot ]; then
      "${run[@]}" tests/web/shots.mjs build-web docs/pictures
      exit
    fi
    mkdir -p build-web/test
    # The native start frame, drawn by the software renderer.
    echo "shot 1 $root/build-web/test/start-native.png" >build-web/test/start.capture
    (cd build && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./amber-capture ../build-web/test/start.capture)
    native_digest=$(cd build && ./amber-replay) || { echo "the native scripted game broke its rules: $native_digest" >&2; exit 1; }
    "${run[@]}" tests/web/browser_test.mjs build-web "$native_digest" chromium firefox
    ;;
esac
