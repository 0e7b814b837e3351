# shellcheck shell=bash
# SDL built from Debian's sources for another platform (Windows, the
# browser), one scheme for every target: the prefix lives in
# $AMBER_DEPS_CACHE/<target>/<key> (build-deps/ in the checkout when unset),
# where the key is made of the source versions, the compiler and the recipe.
# A new Debian version, another compiler or an edited recipe makes a new
# prefix; a finished one is never touched again, so checkouts can share them.
# Also: the native build's content, which every other platform ships.

amber_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$amber_root/scripts/lib/jobs.sh"

# cross_deps TARGET RECIPE COMPILER_LINE PACKAGE...: sets deps_prefix.
# PACKAGE names a native -dev package; its source package at the same version
# is fetched and handed to the function RECIPE SOURCES_DIR PREFIX WORK_DIR,
# whose text, with COMPILER_LINE and the versions, makes the key. Set
# deps_key_extra to add more to the key (a recipe's files, another version).
cross_deps() {
  local target=$1 recipe=$2 compiler=$3 sources=() package
  shift 3
  for package in "$@"; do
    sources+=("$(dpkg-query -W -f='${source:Package}=${source:Version}' "$package")")
  done
  local cache=${AMBER_DEPS_CACHE:-$amber_root/build-deps}/$target
  local key
  key=$( { echo "${sources[*]}"; echo "$compiler"; declare -f "$recipe"; echo "${deps_key_extra:-}"; } |
    sha256sum | cut -c1-16)
  deps_prefix=$cache/$key
  mkdir -p "$cache"
  # One builder at a time per target; a second waits, then finds it built.
  (
    flock 9
    if [ -f "$deps_prefix/KEY" ]; then
      echo "$target: reusing $deps_prefix"
      exit 0
    fi
    echo "$target: building ${sources[*]} into $deps_prefix"
    local work
    work=$(mktemp -d "$cache/work.XXXXXX")
    "$amber_root/scripts/fetch-sources.sh" "$work/apt" "$work/src" "${sources[@]}"
    "$recipe" "$work/src" "$work/prefix" "$work"
    echo "${sources[*]} / $compiler" >"$work/prefix/KEY"
    mv "$work/prefix" "$deps_prefix"
    rm -rf "$work"
  ) 9>"$cache/lock"
}

# native_content [TARGET...]: the native build in build/ makes resources/
# (content_media, content_figures) and the named host programs.
native_content() {
  local configure=()
  [ -f "$amber_root/build/CMakeCache.txt" ] || configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
  cmake -S "$amber_root" -B "$amber_root/build" "${configure[@]}" >/dev/null
  cmake --build "$amber_root/build" -j"$AMBER_JOBS" --target content_media content_figures "$@" >/dev/null
}
