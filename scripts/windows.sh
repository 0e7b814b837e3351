#!/usr/bin/env bash
# Builds amber hollow for 64-bit Windows on this Debian machine and packs
# dist/amber-hollow-win64.zip for players (the game, SDL's DLLs, resources/ and
# a README.txt). With --test it also runs the Windows tests under Wine: the unit
# and rendering suite headless, then the real game in an Xvfb window.
# usage: scripts/windows.sh [--test]
#
# Everything comes from Debian: MinGW-w64 (posix threads), Wine, and SDL2,
# SDL2_mixer and SDL2_image built from Debian's source packages of the same
# versions as the native -dev packages, fetched by scripts/fetch-sources.sh
# (a private apt configuration; the system's apt sources stay untouched). Built
# once into a prefix that later runs reuse: build-win/deps, or
# $AMBER_DEPS_CACHE/win64 when that is set; a change of any source version,
# of the compiler or of the recipe below rebuilds it. The game's content is
# made by host programs, so the native build in build/ provides resources/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
run_tests=0
case "${1:-}" in
  --test) run_tests=1 ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

triple=x86_64-w64-mingw32
toolchain=$root/cmake/mingw-w64-x86_64.cmake
build=$root/build-win
deps=${AMBER_DEPS_CACHE:+$AMBER_DEPS_CACHE/win64}
deps=${deps:-$build/deps}
say() { echo "== $* =="; }

# --- Debian packages: the cross toolchain, Wine, what the native content
# build needs (as scripts/setup.sh installs) and, for the tests, X tools. ---
packages=(
  g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 dpkg-dev zip
  build-essential cmake pkg-config googletest libgtest-dev libbenchmark-dev
  libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libsdl2-ttf-dev
  libsndfile1-dev nlohmann-json3-dev fonts-liberation
)
[ "$run_tests" = 1 ] && packages+=(xvfb xauth xdotool imagemagick x11-utils libx11-dev unzip)
scripts/install.sh "${packages[@]}"

# --- Wine, in its own prefix under build-win/. The first Wine process starts
# wineserver, which would inherit the pipes of whatever started it (a build
# step, ctest) and keep them open: start it here, before anything else. ---
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$build"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  say "creating the Wine prefix"
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w  # the registry is written when the server stops
fi
wineserver -p60 </dev/null >/dev/null 2>&1 || true  # fails only when already running
# Wine's own services start with the first program of a session: start them
# now too, so that no build step or test holds them as children.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1
trap 'wineserver -k 2>/dev/null || true' EXIT

# --- SDL2, SDL2_mixer (WAV only) and SDL2_image (stb's PNG) for Windows, and
# googletest, all with the game's toolchain. ---
src_version() { dpkg-query -W -f='${source:Version}' "$1"; }
build_deps() {  # build_deps PREFIX WORKDIR
  local prefix=$1 work=$2
  scripts/fetch-sources.sh "$work/apt" "$work/src" "libsdl2=$sdl_v" "libsdl2-mixer=$mixer_v" "libsdl2-image=$image_v"
  local common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix")
  one() {  # one NAME SOURCE_DIR CMAKE_ARGS...
    local name=$1 dir=$2
    shift 2
    cmake -S "$dir" -B "$work/build-$name" "${common[@]}" "$@" >"$work/$name.log"
    cmake --build "$work/build-$name" -j2 >>"$work/$name.log"
    cmake --install "$work/build-$name" >>"$work/$name.log"
  }
  one sdl2 "$work"/src/libsdl2-[0-9]* -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  one mixer "$work"/src/libsdl2-mixer-* -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= -DSDL2MIXER_WAVE=ON
  one image "$work"/src/libsdl2-image-* -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_VENDORED=OFF \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF \
    -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_SVG=OFF
  # stb's PNG and JPEG decoders are inside the DLL, yet its CMake file would
  # still look for libpng and libjpeg (which a static build links): it need not.
  sed -i 's/^set(SDL2IMAGE_VENDORED  OFF)/set(SDL2IMAGE_VENDORED  ON)/' "$prefix/lib/cmake/SDL2_image/SDL2_imageConfig.cmake"
  one gtest /usr/src/googletest -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF
}
sdl_v=$(src_version libsdl2-dev) mixer_v=$(src_version libsdl2-mixer-dev)
image_v=$(src_version libsdl2-image-dev) gtest_v=$(src_version googletest)
deps_key=$( {
  echo "sdl2 $sdl_v mixer $mixer_v image $image_v gtest $gtest_v"
  $triple-g++-posix --version | head -n 1
  declare -f build_deps
  cat "$toolchain"
} | sha256sum | cut -c1-16)
if [ "$(cat "$deps/KEY" 2>/dev/null)" = "$deps_key" ]; then
  say "SDL for Windows: reusing $deps"
else
  say "SDL for Windows: building SDL2 $sdl_v, SDL2_mixer $mixer_v, SDL2_image $image_v into $deps"
  work=$build/deps-work
  rm -rf "$work" "$deps.new"
  mkdir -p "$(dirname "$deps")"
  build_deps "$deps.new" "$work"
  echo "$deps_key" >"$deps.new/KEY"
  rm -rf "$deps" && mv "$deps.new" "$deps"
  rm -rf "$work"
fi

# nlohmann-json (for amber-rigtool) is headers only: Debian's own, seen
# through a small prefix of their own so the cross build finds nothing else
# of the host's /usr.
json=$build/json
rm -rf "$json" && mkdir -p "$json/include" "$json/share/cmake"
cp -r /usr/include/nlohmann "$json/include/"
cp -r /usr/share/cmake/nlohmann_json "$json/share/cmake/"

# --- The content, from the native build. ---
say "native content in build/"
build_type=()
[ -f build/CMakeCache.txt ] || build_type=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
cmake -S . -B build "${build_type[@]}" >/dev/null
native_targets=(content_media content_figures)
[ "$run_tests" = 1 ] && native_targets+=(close-window amber-replay)
cmake --build build -j2 --target "${native_targets[@]}" >/dev/null

# --- The cross build. ---
say "cross build in build-win/"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_PREFIX_PATH="$deps;$json" -DAMBER_CONTENT_DIR="$root/build/resources" >/dev/null
win_targets=(amber-hollow)
[ "$run_tests" = 1 ] && win_targets+=(amber-tests amber-rigtool amber-capture amber-soak amber-replay)
cmake --build "$build" -j2 --target "${win_targets[@]}"

# --- The player's zip: the game, SDL's DLLs, resources/, README.txt. ---
say "dist/amber-hollow-win64.zip"
stage=$build/stage/amber-hollow
rm -rf "$build/stage" && mkdir -p "$stage" dist
cmake --install "$build" --prefix "$stage" --strip >/dev/null
$triple-strip --strip-unneeded "$stage"/*.dll
cp docs/windows-readme.txt "$stage/README.txt"
sed -i 's/$/\r/' "$stage/README.txt"
rm -f dist/amber-hollow-win64.zip
(cd "$build/stage" && zip -q -r -9 "$root/dist/amber-hollow-win64.zip" amber-hollow)
(cd "$build/stage" && find amber-hollow -maxdepth 1 -type f -printf '  %p %s bytes\n' | sort)
echo "  amber-hollow/resources: $(find "$stage/resources" -type f | wc -l) files, $(du -sb "$stage/resources" | cut -f1) bytes"
echo "zip: $(stat -c %s dist/amber-hollow-win64.zip) bytes"
[ "$run_tests" = 1 ] || exit 0

# --- Tests under Wine. ---
failed=0
summary=()
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

say "unit and rendering tests under Wine (headless)"
# Left out here, as they cannot run under Wine: the window end-to-end tests
# (X11 tools; the Windows window is probed below), the content generator's
# tests (a host program) and the benchmarks' check (POSIX only).
if (cd "$build" && ctest --output-on-failure -j2 --timeout 900) | tee "$build/wine-tests.txt"; then :; else failed=1; fi
summary+=("unit and rendering suite under Wine: $(grep -E 'tests passed|tests failed' "$build/wine-tests.txt" | tail -n 1)")

say "scripted replay: native and Windows"
native=$(cd build && ./amber-replay | grep '^replay digest') || true
windows=$(cd "$build" && wine amber-replay.exe | tr -d '\r' | grep '^replay digest') || true
echo "native:  $native"
echo "windows: $windows"
if [ -n "$native" ] && [ "$native" = "$windows" ]; then
  summary+=("replay digest: the same on Windows as natively ($native)")
else
  summary+=("replay digest: DIFFERS (native '$native', windows '$windows')")
  failed=1
fi

say "the zipped game under Wine in an Xvfb window"
# The headless session above has no display: end it so that the probe's
# session starts on its Xvfb.
wineserver -k 2>/dev/null || true
wineserver -w
if tests/e2e/window_e2e.sh --wine dist/amber-hollow-win64.zip build/tests/close-window | tee "$build/wine-window.txt"; then :; else failed=1; fi
summary+=("$(tail -n 1 "$build/wine-window.txt")")

say "windows summary"
printf '%s\n' "${summary[@]}"
exit "$failed"
