#!/usr/bin/env bash
# The demo on this machine: bootstrap, build what is missing, start the demo services
# (scripts/demo-services.sh) and run the installer's parts against them end to end.
#
# For now it runs the landed command-line tools where the installer window will run: pkgfetch.exe
# downloads the demo package through the real four-part download, unpack7z.exe unpacks it into an
# install folder, trackevent.exe sends an event that the collector prints. It ends with a summary.
#
#   demo.sh [--small] [--no-cap | --rate BYTES_PER_SECOND] [--engine-exit CODE] [--keep-services]
#     --small           the small package of the tests instead of the demo package (~20 s capped)
#     --no-cap, --rate  the per-connection rate cap of the package server (default: about 20 s)
#     --engine-exit     exit code of the product's engine installer (for the installer run)
#     --keep-services   leave the services running afterwards (stop: scripts/demo-services.sh stop)
# PINDLE_BUILD_ROOT picks the build folder (default: build/ in the source tree).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${PINDLE_BUILD_ROOT:-$here/build}
export PINDLE_BUILD_ROOT=$build

package_name=Pindle_demo
cap=()
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --small) package_name=Pindle_ci ;;
    --no-cap) cap=(--no-cap) ;;
    --rate) cap=(--rate "${2:?--rate needs bytes per second}"); shift ;;
    --engine-exit) export PINDLE_DEMO_ENGINE7_EXIT=${2:?--engine-exit needs a code}; shift ;;
    --keep-services) keep=1 ;;
    *) echo "demo.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

step() { printf '\n== %s ==\n' "$*"; }

step "bootstrap"
bash "$here/scripts/bootstrap.sh" "$build/deps.env" >"$build/bootstrap.log" 2>&1 ||
  { echo "demo.sh: bootstrap failed, see $build/bootstrap.log" >&2; exit 1; }
# shellcheck disable=SC1091
. "$build/deps.env"

# Wine runs the shipped i686 program where the kernel starts 32-bit processes, else the x86_64
# build of the same sources.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  tree=win32 toolchain=i686 prefix_var=PINDLE_DEPS_PREFIX_WIN32
  echo "running the i686 programs (this kernel starts 32-bit processes)"
else
  tree=win64 toolchain=x86_64 prefix_var=PINDLE_DEPS_PREFIX_WIN64
  echo "running the x86_64 build: this kernel cannot start 32-bit processes"
fi

step "build ($build/$tree)"
launcher=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$here")} CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/$tree/build.ninja" ]; then
  cmake -S "$here" -B "$build/$tree" -G Ninja "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPINDLE_DEPS_PREFIX="${!prefix_var}" -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-$toolchain-mingw.cmake" \
    >"$build/$tree-configure.log" || { echo "demo.sh: configure failed, see $build/$tree-configure.log" >&2; exit 1; }
fi
package_target=pindle_demo_package
[ "$package_name" = Pindle_ci ] && package_target=pindle_demo_package_ci
cmake --build "$build/$tree" -j "$(nproc)" --target PindleDownloader pkgfetch unpack7z trackevent "$package_target" \
  >"$build/$tree-demo-build.log" || { echo "demo.sh: build failed, see $build/$tree-demo-build.log" >&2; exit 1; }
package=$build/$tree/demo/package/$package_name.7z
echo "package: $package"

run=$build/demo-run/$(date +%Y%m%d-%H%M%S)
mkdir -p "$run"
state=$build/demo-services
step "services"
bash "$here/scripts/demo-services.sh" start "$package" "${cap[@]}" --state "$state"

# A display for Wine: the person's, else a private virtual one.
xvfb_pid=
cleanup() {
  WINEPREFIX="$build/$tree/wine/prefix" wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ "$keep" = 1 ] || bash "$here/scripts/demo-services.sh" stop --state "$state" >/dev/null 2>&1 || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  display_file=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$display_file")"
  rm -f "$display_file"
fi
wine_run=$build/$tree/wine-run.sh
"$wine_run" cmd /c exit </dev/null >/dev/null 2>&1
windows_path() { echo "Z:$1" | tr / '\\'; }

# ---------------------------------------------------------------------------------------------
# PindleDownloader.exe runs here once the installer window exists: "-auto" or the click path,
# a screenshot of every stage into $run/screens, then the summary of the installation. Until
# then the installer's parts below do its road one by one.
# ---------------------------------------------------------------------------------------------

step "download-information answer"
http_port=$(sed -n 's/.*listen 127.0.0.1:\([0-9]*\);/\1/p' "$state/nginx.conf")
curl -sf "http://127.0.0.1:$http_port/downloder/2.0/infoV2?channel=en&clientVersion=1.0.1.0000&lan=lan_en" \
  | tee "$run/infoV2.json"
read -r url size md5 < <(python3 -c '
import json, sys
info = json.load(open(sys.argv[1]))["data"]["fileInfo"]
print(info["url"], info["size"], info["md5"])' "$run/infoV2.json")

step "download (pkgfetch.exe: range probe, four resumable parts)"
fetch_line=$("$wine_run" "$build/$tree/tools/pkgfetch/pkgfetch.exe" "$url" "$size" \
  "$(windows_path "$run/Pindle.7z")" 2>"$run/pkgfetch.log") || { echo "demo.sh: download failed: $fetch_line" >&2; exit 1; }
echo "$fetch_line"
[ "$(md5sum "$run/Pindle.7z" | cut -d' ' -f1)" = "$md5" ] || { echo "demo.sh: the package's MD5 differs" >&2; exit 1; }

step "unpack (unpack7z.exe, in-process LZMA SDK)"
install=$run/install/Pindle
mkdir -p "$install"
"$wine_run" "$build/$tree/tools/unpack7z/unpack7z.exe" "$(windows_path "$run/Pindle.7z")" \
  "$(windows_path "$install")" >"$run/unpack7z.log" 2>&1 || { echo "demo.sh: unpacking failed, see $run/unpack7z.log" >&2; exit 1; }

step "analytics event (trackevent.exe)"
collector_port=${PINDLE_DEMO_COLLECTOR_PORT:-$(sed -n 's/^set(PINDLE_COLLECTOR_HOST "http:\/\/127.0.0.1:\([0-9]*\)".*/\1/p' \
  "$here/cmake/PindleDeployment.cmake")}
events_before=$(wc -l <"$state/collector.log")
"$wine_run" "$build/$tree/tools/trackevent/trackevent.exe" "http://127.0.0.1:$collector_port" \
  "$(windows_path "$run/staging_file")" Downloader_Install_Finish type=upgrade >"$run/trackevent.log" 2>&1 ||
  { echo "demo.sh: the event was not delivered, see $run/trackevent.log" >&2; exit 1; }
for _ in $(seq 1 50); do [ "$(wc -l <"$state/collector.log")" -gt "$events_before" ] && break; sleep 0.1; done

step "summary"
echo "Windows programs:  $tree tree ($build/$tree)"
echo "package:           $url ($size bytes, md5 $md5)"
echo "download:          $fetch_line"
echo "install folder:    $install ($(find "$install" -type f | wc -l) files)"
echo "events received:"
tail -n +"$((events_before + 1))" "$state/collector.log" | sed 's/^/  /'
echo "logs:              $run (services: $state)"
echo "not yet:           PindleDownloader.exe itself (its window and flow are still being built)"
