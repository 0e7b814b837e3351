#!/usr/bin/env bash
# Builds every artefact of a release into a fresh dist/ and lists their
# checksums in dist/SHA256SUMS:
#   amber-hollow_<version>_<arch>.deb   the Debian package (scripts/package.sh)
#   amber-hollow-win64.zip              the Windows builds (scripts/windows.sh):
#   amber-hollow-win32.zip              64-bit and 32-bit
#   amber-hollow-web.tar.gz             the web build (scripts/web.sh --no-serve),
#                                       its page files from build-web/ and
#                                       the licences
# A platform that cannot be built stops the release with a line saying which.
# usage: scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
rm -rf dist
mkdir -p dist

echo "== Debian package =="
scripts/package.sh

echo "== Windows =="
if [ ! -x scripts/windows.sh ]; then
  echo "release: scripts/windows.sh is missing or not executable, so there is no Windows build" >&2
  exit 1
fi
scripts/windows.sh
for zip in amber-hollow-win64.zip amber-hollow-win32.zip; do
  [ -f "dist/$zip" ] || { echo "scripts/windows.sh made no dist/$zip" >&2; exit 1; }
done

echo "== web =="
if [ ! -x scripts/web.sh ]; then
  echo "release: scripts/web.sh is missing or not executable, so there is no web build" >&2
  exit 1
fi
scripts/web.sh --no-serve
# The page is what the browser loads: the HTML, its scripts (the game's and
# the offline worker), the WebAssembly, the packed resources, the manifest
# and icons for installing it, all at the top of build-web/.
mapfile -t page < <(cd build-web && find . -maxdepth 1 -type f \( -name '*.html' -o -name '*.js' \
  -o -name '*.wasm' -o -name '*.data' -o -name '*.webmanifest' -o -name 'icon-*.png' -o -name LICENSE \) | sort)
[ ${#page[@]} -gt 0 ] || { echo "scripts/web.sh left no page in build-web/" >&2; exit 1; }
# With the licences: the game's, and the font sheet's (its letters are
# Liberation Mono's).
licences=$(mktemp -d)
cp LICENSE "$licences/LICENSE"
cp content/media/font-license.txt "$licences/FONT-LICENSE.txt"
tar -czf dist/amber-hollow-web.tar.gz --transform 's,^\./,amber-hollow-web/,' -C build-web "${page[@]}" \
  -C "$licences" ./LICENSE ./FONT-LICENSE.txt
rm -rf "$licences"

(cd dist && sha256sum -- * >SHA256SUMS)
echo "== dist/ =="
ls -l dist
cat dist/SHA256SUMS
echo "release.sh: done in $((SECONDS - started)) s"
