# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# model: the win32 one has no std::thread or std::mutex). Programs the build
# runs itself, such as amber-rigtool and the test discovery, run under Wine.
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCMAKE_PREFIX_PATH=<prefix with SDL2, SDL2_mixer, SDL2_image, GTest>
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(AMBER_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${AMBER_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${AMBER_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${AMBER_MINGW_TRIPLE}-windres)

# Look for libraries and headers only in the target's trees (the MinGW sysroot
# and the prefixes given), for programs only on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${AMBER_MINGW_TRIPLE} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(AMBER_WINE NAMES wine64 wine)
if(AMBER_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${AMBER_WINE})
endif()

# The C++ runtime and the threads library (winpthread) go into each program,
# so a player's folder needs only SDL's DLLs besides the game. SDL itself is
# still linked through its import library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
