# shellcheck shell=bash
# The Debian packages of each part of the work, in one place. A script installs
# what its parts need with `install_parts PART...` (through scripts/install.sh,
# which installs only what is missing).
#   build     the game, its content tools (SDL2_ttf, librsvg, zopfli, the
#             Liberation font), GoogleTest, the benchmarks' library and Dear
#             ImGui (with stb) for the figure workshop
#   x11       the real-window tests: Xvfb, xdotool, ImageMagick
#   deep      clang for libFuzzer; a D-Bus session for the desktop run
#   windows   MinGW-w64 for 64 and 32 bits (posix threads), Wine and zip
#   web       emscripten; web-browser adds Chromium and Firefox (and node to
#             drive them) for its test and pictures
#   deb       CPack's helpers; deb-check the package's validators
declare -A amber_parts=(
  [build]="build-essential cmake pkg-config libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev libsdl2-ttf-dev
    nlohmann-json3-dev fonts-liberation2 librsvg2-dev libgtest-dev googletest libbenchmark-dev
    libimgui-dev libstb-dev zopfli"
  [x11]="xvfb xauth xdotool imagemagick x11-utils libx11-dev"
  [deep]="clang-14 libclang-rt-14-dev dbus-daemon"
  [windows]="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686 wine wine64 dpkg-dev zip unzip"
  [web]="emscripten dpkg-dev python3"
  [web-browser]="chromium firefox-esr xvfb xauth nodejs"
  [deb]="dpkg-dev file"
  [deb-check]="lintian appstream desktop-file-utils"
)

install_parts() {  # install_parts PART...; fails on an unknown part
  local part list=()
  for part in "$@"; do
    [ -n "${amber_parts[$part]:-}" ] || { echo "no package list named $part" >&2; return 1; }
    # shellcheck disable=SC2206 # the lists are words: split them
    list+=(${amber_parts[$part]})
  done
  "$(dirname "${BASH_SOURCE[0]}")/../install.sh" "${list[@]}"
}
