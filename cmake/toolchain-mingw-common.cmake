# What both mingw-w64 toolchains share; the including file sets PINDLE_TRIPLE and the processor.
# Posix threads and a static runtime: the programs need no mingw DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${PINDLE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PINDLE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${PINDLE_TRIPLE}-windres)
set(CMAKE_AR           /usr/bin/${PINDLE_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${PINDLE_TRIPLE}-ranlib CACHE FILEPATH "")

if(NOT PINDLE_DEPS_PREFIX AND DEFINED ENV{PINDLE_DEPS_PREFIX})
  set(PINDLE_DEPS_PREFIX $ENV{PINDLE_DEPS_PREFIX})
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PINDLE_DEPS_PREFIX)
# The dependency prefix must be inside the find root: ONLY mode re-roots every lookup.
set(CMAKE_FIND_ROOT_PATH /usr/${PINDLE_TRIPLE} ${PINDLE_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(ZLIB_USE_STATIC_LIBS ON)
