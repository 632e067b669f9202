#!/usr/bin/env bash
# The whole test suite from a fresh Debian 12 machine: bootstrap (idempotent), build the host
# tree (native, sanitised) and the Windows tree (i686 mingw-w64), run the host tests natively
# and the Windows tests under Wine on a private virtual X display.
# PINDLE_BUILD_ROOT picks the build folder (default: build/ in the source tree).
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${PINDLE_BUILD_ROOT:-$here/build}
jobs=$(nproc)

bash "$here/scripts/bootstrap.sh" "$build/deps.env" || exit 1
# shellcheck disable=SC1091
. "$build/deps.env"

# A compiler cache, where the machine has one, makes rebuilds of other checkouts cheap.
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$here")} CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
configure() {  # configure TREE [args]
  local tree=$1; shift
  if [ ! -f "$build/$tree/build.ninja" ]; then
    cmake -S "$here" -B "$build/$tree" -G Ninja "${launcher[@]}" "$@" >/dev/null || return 1
  fi
}
# The shipped program is the i686 tree. Wine runs i686 programs only where the kernel can
# start 32-bit processes; elsewhere the Windows tests run from an x86_64 build of the same
# sources under 64-bit Wine, and the i686 tree is still built in full.
wintrees=(win32)
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  wintest=win32
else
  wintest=win64
  wintrees+=(win64)
  echo "note: this kernel cannot run 32-bit programs; Windows tests run from the x86_64 build"
fi
configure host -DCMAKE_BUILD_TYPE=Debug -DPINDLE_DEPS_PREFIX="$PINDLE_DEPS_PREFIX_HOST" || exit 1
configure win32 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPINDLE_DEPS_PREFIX="$PINDLE_DEPS_PREFIX_WIN32" \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-i686-mingw.cmake" || exit 1
if [ "$wintest" = win64 ]; then
  configure win64 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPINDLE_DEPS_PREFIX="$PINDLE_DEPS_PREFIX_WIN64" \
    -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-x86_64-mingw.cmake" || exit 1
fi
for tree in host "${wintrees[@]}"; do
  cmake --build "$build/$tree" -j "$jobs" || exit 1
done

# A private X display for the Windows tests (windows, GDI+, layered windows).
xvfb_pid=
cleanup() {
  WINEPREFIX="$build/$wintest/wine/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
display_file=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$display_file")"
rm -f "$display_file"

# Make the Wine prefix now (once per tree), so its set-up time never counts against a test's time-out.
"$build/$wintest/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1

status=0
echo "== source format (.clang-format) =="
bash "$here/scripts/check-format.sh" || status=1
echo "== host tests (native, AddressSanitizer + UBSan) =="
ctest --test-dir "$build/host" --output-on-failure -j "$jobs" || status=1
echo "== Windows tests ($wintest tree, under Wine, DISPLAY=$DISPLAY) =="
ctest --test-dir "$build/$wintest" --output-on-failure -j "$jobs" || status=1
exit $status
