# shellcheck shell=bash
# SDL2, SDL2_mixer (WAV only) and SDL2_image (stb's PNG decoder, for the
# tests' pictures) for Windows, and GoogleTest, built with the game's
# toolchain from Debian's sources of the native -dev packages' versions, once,
# into the shared cache of scripts/lib/deps.sh. Sourced after lib/deps.sh;
# windows_arch (x86_64, the default, or i686) picks the toolchain, and each
# has its own cache target: windows (64-bit) and windows-i686.

windows_arch_set() {  # windows_arch_set x86_64|i686: sets windows_arch, _triple, _toolchain, _target
  windows_arch=$1
  case $windows_arch in
    x86_64) windows_target=windows ;;
    i686) windows_target=windows-i686 ;;
    *) echo "no Windows build for the processor '$windows_arch' (x86_64 or i686)" >&2; return 1 ;;
  esac
  windows_triple=$windows_arch-w64-mingw32
  windows_toolchain=$amber_root/cmake/mingw-w64-$windows_arch.cmake
}
windows_arch_set "${windows_arch:-x86_64}"

windows_sdl_recipe() {  # windows_sdl_recipe SOURCES_DIR PREFIX WORK_DIR
  local src=$1 prefix=$2 work=$3
  local common=(-DCMAKE_TOOLCHAIN_FILE="$windows_toolchain" -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix")
  one() {  # one NAME SOURCE_DIR CMAKE_ARGS...
    local name=$1 dir=$2
    shift 2
    cmake -S "$dir" -B "$work/build-$name" "${common[@]}" "$@" >"$work/$name.log"
    cmake --build "$work/build-$name" -j"$AMBER_JOBS" >>"$work/$name.log"
    cmake --install "$work/build-$name" >>"$work/$name.log"
  }
  one sdl2 "$src"/libsdl2-[0-9]* -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  one mixer "$src"/libsdl2-mixer-* -DSDL2MIXER_SAMPLES=OFF -DSDL2MIXER_VENDORED=OFF \
    -DSDL2MIXER_CMD=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_MIDI=OFF \
    -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_VORBIS= -DSDL2MIXER_WAVE=ON
  # stb decodes PNG and JPEG inside the DLL and every other codec is off, so
  # nothing is in fact vendored; saying so keeps the installed package file
  # from looking for libpng and libjpeg, which only a static build would link.
  one image "$src"/libsdl2-image-* -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_VENDORED=ON \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_AVIF=OFF -DSDL2IMAGE_JXL=OFF -DSDL2IMAGE_TIF=OFF \
    -DSDL2IMAGE_WEBP=OFF -DSDL2IMAGE_SVG=OFF
  one gtest /usr/src/googletest -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=OFF
}

windows_sdl() {  # sets deps_prefix
  deps_key_extra="googletest $(dpkg-query -W -f='${Version}' googletest) $(cat "$windows_toolchain")"
  cross_deps "$windows_target" windows_sdl_recipe "$("$windows_triple-g++-posix" --version | head -n 1)" \
    libsdl2-dev libsdl2-mixer-dev libsdl2-image-dev
}
