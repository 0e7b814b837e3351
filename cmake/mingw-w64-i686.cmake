# Cross build for 32-bit Windows with Debian's MinGW-w64, the same recipe as
# cmake/mingw-w64-x86_64.cmake (posix threads, the C++ runtime linked in).
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake \
#         -DCMAKE_PREFIX_PATH=<prefix with SDL2, SDL2_mixer, SDL2_image, GTest>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(AMBER_MINGW_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER ${AMBER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMBER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${AMBER_MINGW_TRIPLE}-windres)

# 32-bit x86 compilers default to the x87 unit, whose 80-bit intermediates
# round differently from the 64-bit builds' SSE arithmetic: SSE2 keeps every
# float and double the width the game's code says, so the game plays the
# same. It needs a processor with SSE2 (every PC since about 2003).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

# Look for libraries and headers only in the target's trees (the MinGW sysroot
# and the prefixes given), for programs only on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${AMBER_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs the build runs itself (the test discovery) need a Wine that runs
# 32-bit programs; the one named by -DAMBER_WINE=..., else `wine`.
find_program(AMBER_WINE NAMES wine)
if(AMBER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${AMBER_WINE})
endif()

# The C++ runtime and the threads library (winpthread) go into each program,
# so a player's folder needs only SDL's DLLs besides the game. SDL itself is
# still linked through its import library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
