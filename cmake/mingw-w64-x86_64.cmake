# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads, for std::thread):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake ...   (scripts/build.sh windows)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs that run without the toolchain's DLLs beside them (libstdc++, winpthread).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# Win64 keeps the stack 16-byte aligned; GCC spills AVX registers of functions with `target`
# attributes with aligned moves all the same, so the assembler turns them into unaligned ones.
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
