#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) to build and test Pindle Downloader, idempotently:
#   1. Debian packages (cross compilers, Wine, Xvfb and xdotool, fonts, test peers);
#   2. the third-party sources from Debian's source packages, cross-built once for i686
#      (and natively where the host tree needs them) into a cache outside the source tree,
#      keyed by the package versions, so a second run does nothing.
# Usage: bootstrap.sh [ENV_FILE]   writes the PINDLE_DEPS_PREFIX_* folders to ENV_FILE if given.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
here=$(cd "$(dirname "$0")/.." && pwd)
env_out=${1:-}
jobs=$(nproc)

log() { printf 'bootstrap: %s\n' "$*"; }

# Raise when a recipe below changes, so every cache entry is rebuilt.
RECIPE_REV=1

APT_PACKAGES=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  mingw-w64-tools libz-mingw-w64-dev
  wine wine32:i386 wine64 xvfb xauth x11-utils imagemagick
  fonts-wine fonts-wqy-microhei fonts-tlwg-loma-ttf
  cmake ninja-build g++ make pkg-config dpkg-dev xz-utils python3 openssl ca-certificates
  googletest libjsoncpp-dev libcurl4-openssl-dev zlib1g-dev
  7zip nginx-light curl aria2 clang-format xdotool
)

# ---- 1. Debian packages ------------------------------------------------------------------
apt_ready() {
  dpkg --print-foreign-architectures | grep -qx i386 || return 1
  dpkg-query -W -f='${Status}\n' "${APT_PACKAGES[@]}" 2>/dev/null | grep -vq 'install ok installed' && return 1
  [ "$(dpkg-query -W -f='${Status}\n' "${APT_PACKAGES[@]}" 2>/dev/null | wc -l)" -eq "${#APT_PACKAGES[@]}" ]
}
ensure_deb_src() {
  local f=/etc/apt/sources.list.d/debian.sources
  if [ -f "$f" ] && ! grep -q '^Types:.*deb-src' "$f"; then
    sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"; return 0
  fi
  if [ -f /etc/apt/sources.list ] && grep -q '^deb ' /etc/apt/sources.list && ! grep -q '^deb-src ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >> /etc/apt/sources.list; return 0
  fi
  return 1
}
updated=0
if ensure_deb_src; then updated=1; fi
if ! apt_ready; then
  log "installing Debian packages"
  dpkg --add-architecture i386
  apt-get update -q
  updated=2
  apt-get install -y -q --no-install-recommends "${APT_PACKAGES[@]}"
fi
if [ "$updated" = 1 ]; then apt-get update -q; fi

# ---- 2. Third-party sources, built once per version ---------------------------------------
src_version() { apt-cache showsrc "$1" | awk '/^Version:/{print $2}' | sort -V | tail -n 1; }
v_tinyxml=$(src_version tinyxml)
v_jsoncpp=$(src_version libjsoncpp)
v_curl=$(src_version curl)
v_7zip=$(src_version 7zip)
v_gtest=$(dpkg-query -W -f='${Version}' googletest)
v_zlib=$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)
v_gcc=$(i686-w64-mingw32-g++-posix -dumpversion)
for v in v_tinyxml v_jsoncpp v_curl v_7zip; do
  [ -n "${!v}" ] || { echo "bootstrap: no Debian source version for ${v#v_} (deb-src missing?)" >&2; exit 1; }
done
key=$(printf '%s\n' "$RECIPE_REV" "$v_tinyxml" "$v_jsoncpp" "$v_curl" "$v_7zip" "$v_gtest" "$v_zlib" "$v_gcc" \
      | sha256sum | cut -c1-16)
cache=${PINDLE_DEPS_ROOT:-/var/cache/pindle-deps}
srcroot=$cache/src
win=$cache/$key/i686
host=$cache/$key/host
mkdir -p "$srcroot" "$win" "$host"

# Unpacks a Debian source package (with Debian's patches applied) once; prints its folder.
fetch_source() {
  local pkg=$1 ver=$2 dir
  dir=$srcroot/${pkg}_${ver}
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && apt-get source -q "$pkg=$ver" >/dev/null 2>&1) || {
      echo "bootstrap: apt-get source $pkg=$ver failed" >&2; exit 1; }
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# Runs a build step once per cache key: build_once NAME PREFIX COMMAND...
build_once() {
  local name=$1 prefix=$2; shift 2
  [ -f "$prefix/.done-$name" ] && return 0
  log "building $name into $prefix"
  local t0=$SECONDS
  "$@"
  touch "$prefix/.done-$name"
  log "built $name in $((SECONDS - t0)) s"
}

cmake_build() {  # cmake_build SRC BUILD PREFIX [cmake args...]
  local src=$1 bld=$2 prefix=$3; shift 3
  rm -rf "$bld"
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_POLICY_DEFAULT_CMP0074=NEW "$@" >"$bld.log" 2>&1 || { tail -n 40 "$bld.log"; return 1; }
  cmake --build "$bld" -j "$jobs" >>"$bld.log" 2>&1 || { tail -n 40 "$bld.log"; return 1; }
  cmake --install "$bld" >>"$bld.log" 2>&1 || { tail -n 40 "$bld.log"; return 1; }
  rm -rf "$bld"
}

# GoogleTest, from Debian's sources, for every tree.
build_gtest() {  # build_gtest PREFIX [toolchain args]
  local prefix=$1; shift
  cmake_build /usr/src/googletest "$prefix/build-gtest" "$prefix" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON "$@"
}

# TinyXML: Debian's patched tree (security fixes), STL strings.
build_tinyxml() {  # build_tinyxml PREFIX CXX AR
  local prefix=$1 cxx=$2 ar=$3 src bld
  src=$(fetch_source tinyxml "$v_tinyxml"); bld=$prefix/build-tinyxml
  rm -rf "$bld" && mkdir -p "$bld" "$prefix/include" "$prefix/lib"
  for f in tinyxml tinystr tinyxmlerror tinyxmlparser; do
    "$cxx" -O2 -fPIC -DTIXML_USE_STL -c "$src/$f.cpp" -o "$bld/$f.o"
  done
  "$ar" rcs "$prefix/lib/libtinyxml.a" "$bld"/*.o
  cp "$src/tinyxml.h" "$src/tinystr.h" "$prefix/include/"
  rm -rf "$bld"
}

# jsoncpp: static library only.
build_jsoncpp() {  # build_jsoncpp PREFIX TOOLCHAIN
  cmake_build "$(fetch_source libjsoncpp "$v_jsoncpp")" "$1/build-jsoncpp" "$1" \
    -DCMAKE_TOOLCHAIN_FILE="$2" -DPINDLE_DEPS_PREFIX="$1" -DJSONCPP_WITH_TESTS=OFF \
    -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF
}

# libcurl: Schannel (the Windows TLS stack and certificate store), no OpenSSL, static, zlib
# from Debian's mingw package.
build_curl() {  # build_curl PREFIX TOOLCHAIN
  cmake_build "$(fetch_source curl "$v_curl")" "$1/build-curl" "$1" \
    -DCMAKE_TOOLCHAIN_FILE="$2" -DPINDLE_DEPS_PREFIX="$1" \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DENABLE_MANUAL=OFF \
    -DCURL_USE_SCHANNEL=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=OFF -DCURL_USE_LIBSSH=OFF \
    -DCURL_USE_GSSAPI=OFF -DUSE_LIBIDN2=OFF -DUSE_NGHTTP2=OFF -DCURL_DISABLE_LDAP=ON \
    -DCURL_DISABLE_LDAPS=ON -DCURL_ZLIB=ON -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF -DZLIB_USE_STATIC_LIBS=ON
}

# LZMA SDK: the C 7z decoder (the file list of C/Util/7z/makefile.gcc, without its demo main).
LZMA_FILES="Bcj2 Bra Bra86 BraIA64 CpuArch Delta Lzma2Dec LzmaDec Ppmd7 Ppmd7Dec 7zCrc 7zCrcOpt
            7zAlloc 7zArcIn 7zBuf 7zBuf2 7zDec 7zFile 7zStream"
build_lzma() {  # build_lzma PREFIX CC AR
  local prefix=$1 cc=$2 ar=$3 src bld
  src=$(fetch_source 7zip "$v_7zip")/C; bld=$prefix/build-lzma7z
  rm -rf "$bld" && mkdir -p "$bld" "$prefix/include/lzma7z" "$prefix/lib"
  for f in $LZMA_FILES; do
    "$cc" -O2 -fPIC -DZ7_PPMD_SUPPORT -DZ7_EXTRACT_ONLY -c "$src/$f.c" -o "$bld/$f.o"
  done
  "$ar" rcs "$prefix/lib/liblzma7z.a" "$bld"/*.o
  cp "$src"/*.h "$prefix/include/lzma7z/"
  rm -rf "$bld"
}

# 7za.exe for 32-bit Windows (the makefile cannot detect mingw by itself).
build_7za() {  # build_7za PREFIX
  local src bld
  src=$(fetch_source 7zip "$v_7zip"); bld=$1/build-7za
  rm -rf "$bld" && cp -a "$src" "$bld"
  (cd "$bld/CPP/7zip/Bundles/Alone" &&
    make -j "$jobs" -f makefile.gcc IS_MINGW=1 MSYSTEM=1 \
      CC=i686-w64-mingw32-gcc-posix CXX=i686-w64-mingw32-g++-posix RC=i686-w64-mingw32-windres \
      LDFLAGS_STATIC_2="-static -static-libgcc -static-libstdc++" >"$bld.log" 2>&1) || { tail -n 40 "$bld.log"; return 1; }
  mkdir -p "$1/bin"
  cp "$(find "$bld/CPP/7zip/Bundles/Alone" -name 7za.exe | head -n 1)" "$1/bin/7za.exe"
  rm -rf "$bld"
}

# The shipped program is i686. The x86_64 tree runs the Windows tests where the kernel cannot
# start 32-bit processes (and so Wine cannot run i686 programs).
for arch in i686 x86_64; do
  prefix=$cache/$key/$arch
  triple=$arch-w64-mingw32
  tc=$here/cmake/toolchain-$arch-mingw.cmake
  mkdir -p "$prefix"
  build_once gtest "$prefix" build_gtest "$prefix" -DCMAKE_TOOLCHAIN_FILE="$tc" -DPINDLE_DEPS_PREFIX="$prefix"
  build_once tinyxml "$prefix" build_tinyxml "$prefix" "$triple-g++-posix" "$triple-ar"
  build_once jsoncpp "$prefix" build_jsoncpp "$prefix" "$tc"
  build_once curl "$prefix" build_curl "$prefix" "$tc"
  build_once lzma7z "$prefix" build_lzma "$prefix" "$triple-gcc-posix" "$triple-ar"
done
build_once 7za "$win" build_7za "$win"
# The installer always embeds the 32-bit 7za.exe; the x86_64 test tree embeds the same program.
copy_7za() { mkdir -p "$1/bin" && cp "$win/bin/7za.exe" "$1/bin/7za.exe"; }
build_once 7za "$cache/$key/x86_64" copy_7za "$cache/$key/x86_64"
build_once gtest "$host" build_gtest "$host"
build_once tinyxml "$host" build_tinyxml "$host" g++ ar
build_once lzma7z "$host" build_lzma "$host" gcc ar

if [ -n "$env_out" ]; then
  mkdir -p "$(dirname "$env_out")"
  printf 'PINDLE_DEPS_PREFIX_WIN32=%s\nPINDLE_DEPS_PREFIX_WIN64=%s\nPINDLE_DEPS_PREFIX_HOST=%s\n' \
    "$win" "$cache/$key/x86_64" "$host" >"$env_out"
fi
log "ready (dependency cache $cache/$key)"
