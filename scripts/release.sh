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
# The page is what the browser loads, as the build listed it in
# build-web/release.json (the HTML, the game's script, the WebAssembly, the
# packed resources, the manifest and icons for installing it), with that list
# and the offline worker made from it.
[ -f build-web/release.json ] || { echo "scripts/web.sh left no build-web/release.json" >&2; exit 1; }
mapfile -t page < <(python3 -c 'import json, sys; print("\n".join("./" + f for f in json.load(sys.stdin)["files"]))' <build-web/release.json)
page+=(./release.json ./sw.js)
[ ${#page[@]} -gt 2 ] || { echo "build-web/release.json lists no files" >&2; exit 1; }
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
