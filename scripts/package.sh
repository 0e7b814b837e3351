#!/usr/bin/env bash
# Builds the Debian package of amber hollow with CPack into
# dist/amber-hollow_<version>_<arch>.deb, from its own build folder build-deb/:
# Debian's hardening flags on the game's usual optimisation, stripped, with
# Depends worked out by dpkg-shlibdeps. Only what the package holds is built
# (the game, its content, icons and gzipped documents); no tests or benchmarks.
# With --test it then checks the package (tests/package/package_test.sh):
# lintian, the AppStream metainfo, and installing it with dpkg, starting the
# game from its launcher under Xvfb and removing it again. That needs root.
# usage: scripts/package.sh [--test]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
started=$SECONDS
run_tests=0
case "${1:-}" in
  --test) run_tests=1 ;;
  "") ;;
  *) echo "usage: $0 [--test]" >&2; exit 2 ;;
esac

. scripts/lib/packages.sh
. scripts/lib/jobs.sh
parts=(build deb)
[ "$run_tests" = 1 ] && parts+=(deb-check x11)
install_parts "${parts[@]}"

# --- Build and pack. ---
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build build-deb -j"$AMBER_JOBS" --target amber-hollow content_icons packaging_docs
mkdir -p dist
rm -f dist/amber-hollow_*.deb
(cd build-deb && cpack -G DEB -D CPACK_OUTPUT_FILE_PREFIX="$root/dist" >/dev/null)
deb=$(ls dist/amber-hollow_*.deb)
echo "package: $deb, $(stat -c %s "$deb") bytes"

if [ "$run_tests" = 1 ]; then
  tests/package/package_test.sh "$deb"
fi
echo "package.sh: done in $((SECONDS - started)) s"
