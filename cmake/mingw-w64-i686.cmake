# Cross-compiles the 32-bit Windows build with mingw-w64 (posix threads): the same program for
# 32-bit Windows, and for anyone who wants it on a 64-bit one.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
