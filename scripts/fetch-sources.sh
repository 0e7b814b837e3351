#!/usr/bin/env bash
# Fetches Debian source packages with apt-get source through a private apt
# configuration under APT_DIR, whose deb-src entries mirror the Debian archives
# this system already installs from; the system's own apt sources stay as they
# are. Used to build SDL for Windows and for the browser.
# usage: scripts/fetch-sources.sh APT_DIR DEST PACKAGE=VERSION...
set -euo pipefail
apt_dir=$1 dest=$2
shift 2
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d" "$dest"
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
: >"$apt_dir/sources.list"
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && awk -v c="$codename" '$1 == "deb" && index($3, c) == 1 { $1 = "deb-src"; print }' "$f" \
    >>"$apt_dir/sources.list"
done
rm -f "$apt_dir"/sources.list.d/*
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && grep -Eq "^Suites:.*(^|[ :])$codename([ -]|$)" "$f" &&
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$apt_dir/sources.list.d/$(basename "$f")"
done
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=$(id -un)")
apt-get "${apt_opts[@]}" -q update >/dev/null
(cd "$dest" && apt-get "${apt_opts[@]}" -q source "$@" >/dev/null)
