#!/usr/bin/env bash
# Builds amber hollow for Windows on this Debian machine, 64-bit and 32-bit
# from the same sources and recipe, and packs dist/amber-hollow-win64.zip and
# dist/amber-hollow-win32.zip for players; with --test also checks each zip's
# program (scripts/windows/pe-check.sh) and runs the 64-bit build's tests
# under Wine (scripts/windows/wine-tests.sh).
# usage: scripts/windows.sh [--arch x86_64|i686] [--test]   (both by default)
#
# Everything comes from Debian: MinGW-w64, Wine, and SDL built from Debian's
# source packages (scripts/windows/sdl.sh, kept in the shared cache of
# scripts/lib/deps.sh). The game's content is made by host programs, so the
# native build in build/ provides resources/; the cross builds are
# build-win/ (64-bit) and build-win32/ (32-bit).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/deps.sh
. scripts/lib/wine.sh
. scripts/windows/sdl.sh
run_tests=0 arches=(x86_64 i686)
usage="usage: $0 [--arch x86_64|i686] [--test]"
while [ $# -gt 0 ]; do
  case $1 in
    --test) run_tests=1 ;;
    --arch) [ $# -gt 1 ] || { echo "$usage" >&2; exit 2; }; arches=("$2"); shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
  shift
done
for arch in "${arches[@]}"; do windows_arch_set "$arch" || exit 2; done

parts=(build windows)
[ "$run_tests" = 1 ] && parts+=(x11)
install_parts "${parts[@]}"

echo "== native content in build/ =="
native=()
[ "$run_tests" = 1 ] && native=(close-window amber-replay)
native_content "${native[@]}"

windows_build() {  # windows_build: the game for windows_arch in $build, packed into $zip
  echo "== $windows_arch: cross build in ${build#"$amber_root"/}/ =="
  # nlohmann-json (for amber-rigtool) is headers only: Debian's own, seen
  # through a small prefix of their own so the cross build finds nothing else
  # of the host's /usr.
  json=$build/json
  rm -rf "$json" && mkdir -p "$json/include" "$json/share/cmake"
  cp -r /usr/include/nlohmann "$json/include/"
  cp -r /usr/share/cmake/nlohmann_json "$json/share/cmake/"
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_PREFIX_PATH="$deps_prefix;$json" \
    -DAMBER_CONTENT_DIR="$amber_root/build/resources" >/dev/null
  targets=(amber-hollow)
  [ "$run_tests" = 1 ] && [ "$windows_arch" = x86_64 ] && targets+=(amber-tests amber-rigtool amber-capture amber-soak amber-replay)
  cmake --build "$build" -j"$AMBER_JOBS" --target "${targets[@]}"

  echo "== $zip =="
  scripts/windows/pack.sh "$build" "$zip"
}

for arch in "${arches[@]}"; do
  windows_arch_set "$arch"
  case $arch in
    x86_64) build=$amber_root/build-win zip=$amber_root/dist/amber-hollow-win64.zip ;;
    i686) build=$amber_root/build-win32 zip=$amber_root/dist/amber-hollow-win32.zip ;;
  esac
  if [ "$arch" = x86_64 ]; then
    # The 64-bit build's programs run under the host's Wine while it builds
    # (the test discovery): its session starts first, see lib/wine.sh.
    wine_session_start "$build/wine"
    trap wine_session_stop EXIT
  fi
  echo "== $arch: SDL for Windows =="
  windows_sdl
  windows_build
  [ "$run_tests" = 1 ] || continue
  scripts/windows/pe-check.sh "$arch" "$zip"
  if [ "$arch" = x86_64 ]; then
    scripts/windows/wine-tests.sh "$build" "$zip"
    wine_session_stop
    trap - EXIT
  else
    # The host's Wine is 64-bit only, and a 32-bit Wine needs a machine that
    # runs 32-bit x86 programs, which this kind does not (docs/testing.md).
    echo "windows $arch: checked as files only (pe-check.sh); its suite, replay and window are not run here"
  fi
done
