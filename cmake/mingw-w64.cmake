# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# model, for std::thread):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# The programs link the C and C++ run-time libraries statically, so that
# they need no DLL beyond Windows' own. scripts/test-windows.sh builds and
# tests with it under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORRINRC_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORRINRC_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORRINRC_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ORRINRC_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORRINRC_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# MinGW's own printf family, which knows C99's %zu and %lld, in place of
# the system C library's.
set(CMAKE_C_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
set(CMAKE_CXX_FLAGS_INIT "-D__USE_MINGW_ANSI_STDIO=1")
# Tests of the Windows programs run them under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
