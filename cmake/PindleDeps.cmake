# Third-party libraries. The Windows tree takes them from the dependency cache that
# scripts/bootstrap.sh cross-builds (PINDLE_DEPS_PREFIX); the host tree takes Debian's -dev
# packages, and GoogleTest from the same cache (built natively from Debian's sources).
if(NOT PINDLE_DEPS_PREFIX AND DEFINED ENV{PINDLE_DEPS_PREFIX})
  set(PINDLE_DEPS_PREFIX $ENV{PINDLE_DEPS_PREFIX})
endif()
if(NOT PINDLE_DEPS_PREFIX)
  message(FATAL_ERROR "PINDLE_DEPS_PREFIX is not set: run scripts/bootstrap.sh first")
endif()
list(PREPEND CMAKE_PREFIX_PATH ${PINDLE_DEPS_PREFIX})
set(THREADS_PREFER_PTHREAD_FLAG ON)
find_package(Threads REQUIRED)
find_package(GTest CONFIG REQUIRED)
find_package(ZLIB REQUIRED)

if(PINDLE_WIN32)
  find_package(jsoncpp CONFIG REQUIRED)
  add_library(pindle_jsoncpp INTERFACE)
  target_link_libraries(pindle_jsoncpp INTERFACE jsoncpp_static)
  find_package(CURL CONFIG REQUIRED)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
  add_library(pindle_jsoncpp INTERFACE)
  target_link_libraries(pindle_jsoncpp INTERFACE PkgConfig::JSONCPP)
  find_package(CURL REQUIRED)
endif()

# TinyXML and the LZMA SDK decoder are plain static libraries in the cache (both trees).
find_path(TINYXML_INCLUDE_DIR tinyxml.h PATHS ${PINDLE_DEPS_PREFIX}/include NO_DEFAULT_PATH)
find_library(TINYXML_LIBRARY tinyxml PATHS ${PINDLE_DEPS_PREFIX}/lib NO_DEFAULT_PATH)
add_library(pindle_tinyxml STATIC IMPORTED GLOBAL)
set_target_properties(pindle_tinyxml PROPERTIES IMPORTED_LOCATION ${TINYXML_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${TINYXML_INCLUDE_DIR} INTERFACE_COMPILE_DEFINITIONS TIXML_USE_STL)

find_path(LZMA7Z_INCLUDE_DIR 7z.h PATHS ${PINDLE_DEPS_PREFIX}/include/lzma7z NO_DEFAULT_PATH)
find_library(LZMA7Z_LIBRARY lzma7z PATHS ${PINDLE_DEPS_PREFIX}/lib NO_DEFAULT_PATH)
add_library(pindle_lzma7z STATIC IMPORTED GLOBAL)
set_target_properties(pindle_lzma7z PROPERTIES IMPORTED_LOCATION ${LZMA7Z_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${LZMA7Z_INCLUDE_DIR}
  INTERFACE_COMPILE_DEFINITIONS "Z7_PPMD_SUPPORT;Z7_EXTRACT_ONLY")

# The 7-Zip console program that the installer embeds as its extraction fallback.
set(PINDLE_7ZA_EXE ${PINDLE_DEPS_PREFIX}/bin/7za.exe)
