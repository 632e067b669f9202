# Cross-compiles the 64-bit Windows build (the 64-bit OpenGL probe, and the test tree where
# Wine cannot run 32-bit programs) with mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(PINDLE_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
