# Cross-compiles the 32-bit Windows program (the one that ships) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(PINDLE_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
