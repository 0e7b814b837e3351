#!/usr/bin/env bash
# Builds amber hollow for 64-bit Windows on this Debian machine and packs
# dist/amber-hollow-win64.zip for players; with --test also runs the Windows
# tests under Wine (scripts/windows/wine-tests.sh).
# usage: scripts/windows.sh [--test]
#
# Everything comes from Debian: MinGW-w64, Wine, and SDL built from Debian's
# source packages (scripts/windows/sdl.sh, kept in the shared cache of
# scripts/lib/deps.sh). The game's content is made by host programs, so the
# native build in build/ provides resources/; the cross build is build-win/.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
. scripts/lib/deps.sh
. scripts/lib/wine.sh
. scripts/windows/sdl.sh
run_tests=0
case "${1:-}" in
  --test) run_tests=1 ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac
build=$amber_root/build-win
zip=$amber_root/dist/amber-hollow-win64.zip

parts=(build windows)
[ "$run_tests" = 1 ] && parts+=(x11)
install_parts "${parts[@]}"
wine_session_start "$build/wine"
trap wine_session_stop EXIT

echo "== SDL for Windows =="
windows_sdl

echo "== native content in build/ =="
native=()
[ "$run_tests" = 1 ] && native=(close-window amber-replay)
native_content "${native[@]}"

echo "== cross build in build-win/ =="
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
[ "$run_tests" = 1 ] && targets+=(amber-tests amber-rigtool amber-capture amber-soak amber-replay)
cmake --build "$build" -j"$AMBER_JOBS" --target "${targets[@]}"

echo "== $zip =="
scripts/windows/pack.sh "$build" "$zip"
[ "$run_tests" = 1 ] || exit 0
scripts/windows/wine-tests.sh "$build" "$zip"
