#!/usr/bin/env bash
# The demo on this machine: bootstrap, build what is missing, start the demo services
# (scripts/demo-services.sh) and run PindleDownloader.exe under Wine against them, end to end:
# the window, the download, the unpacking, the product's installers, the registry, the shortcut
# and the product's start. It ends with a summary of what the installation left behind.
#
# With a display (DISPLAY set) the real window shows and waits for you. Without one, the demo
# runs on a private virtual display, clicks its way through like a person (tools/installer_drive.py)
# and saves a screenshot of every stage into one folder, which it prints.
#
#   demo.sh [--auto] [--lan CODE] [--small] [--no-cap | --rate BYTES_PER_SECOND]
#           [--engine-exit CODE] [--folder 'C:\Games\Pindle'] [--fresh] [--headless] [--keep-services]
#     --auto            the installer's "-auto": no click, the download starts after the checks
#     --lan CODE        the language ("-lan:"), such as lan_jp, lan_th; default: the system's
#     --small           the small package of the tests instead of the demo package
#     --no-cap, --rate  the per-connection rate cap of the package server (default: about 20 s)
#     --engine-exit     exit code of the product's engine installer (109 asks for a restart:
#                       the demo's virtual display answers "later")
#     --folder          the install folder typed into the custom panel (headless runs)
#     --fresh           a new Wine prefix; otherwise the second run updates the first installation
#     --headless        the virtual display even when DISPLAY is set
#     --keep-services   leave the services running afterwards (stop: scripts/demo-services.sh stop)
# PINDLE_BUILD_ROOT picks the build folder (default: build/ in the source tree).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${PINDLE_BUILD_ROOT:-$here/build}
export PINDLE_BUILD_ROOT=$build

package_name=Pindle_demo
cap=()
keep=0
auto=0
fresh=0
headless=0
lan=
folder=
while [ $# -gt 0 ]; do
  case "$1" in
    --auto) auto=1 ;;
    --lan) lan=${2:?--lan needs a language code}; shift ;;
    --folder) folder=${2:?--folder needs a Windows path}; shift ;;
    --fresh) fresh=1 ;;
    --headless) headless=1 ;;
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
  tree=win32 toolchain=i686 prefix_var=PINDLE_DEPS_PREFIX_WIN32 loader=/usr/lib/wine/wine
  echo "running the i686 programs (this kernel starts 32-bit processes)"
else
  tree=win64 toolchain=x86_64 prefix_var=PINDLE_DEPS_PREFIX_WIN64 loader=/usr/lib/wine/wine64
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
cmake --build "$build/$tree" -j "$(nproc)" --target PindleDownloader "$package_target" \
  >"$build/$tree-demo-build.log" || { echo "demo.sh: build failed, see $build/$tree-demo-build.log" >&2; exit 1; }
package=$build/$tree/demo/package/$package_name.7z
echo "package: $package"

run=$build/demo-run/$(date +%Y%m%d-%H%M%S)
mkdir -p "$run"
state=$build/demo-services
step "services"
bash "$here/scripts/demo-services.sh" start "$package" "${cap[@]}" --state "$state"

# The demo's own Wine prefix, apart from the tests' one: it keeps the installation for the next
# run (the update path) unless --fresh asks for a new one.
wine_root=$build/demo-wine/$tree
export WINEPREFIX=$wine_root/prefix HOME=$wine_root/home WINEARCH=win64
export WINEDLLOVERRIDES="winemenubuilder.exe=d" WINEDEBUG=${WINEDEBUG:--all}
if [ "$fresh" = 1 ] && [ -d "$wine_root" ]; then
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$wine_root"
fi
step "Wine prefix ($WINEPREFIX)"
bash "$here/scripts/wine-prefix.sh" "$wine_root" "$loader" </dev/null >"$run/wine-prefix.log" 2>&1 ||
  { echo "demo.sh: the Wine prefix could not be made, see $run/wine-prefix.log" >&2; exit 1; }

# A display for Wine: the person's, else a private virtual one.
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ "$keep" = 1 ] || bash "$here/scripts/demo-services.sh" stop --state "$state" >/dev/null 2>&1 || true
}
trap cleanup EXIT
if [ "$headless" = 1 ] || [ -z "${DISPLAY:-}" ]; then
  headless=1
  display_file=$(mktemp)
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 </dev/null &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$display_file")"
  rm -f "$display_file"
fi
wineserver -p </dev/null >/dev/null 2>&1
"$loader" cmd /c exit </dev/null >/dev/null 2>&1

# The language's main layout tells the driver where its buttons are.
layout_of() {
  sed -n "s/.*{\"$1\", [0-9]*, [-a-zA-Z0-9]*, L\"[A-Z]*\", L\"\([A-Za-z]*\)\".*/\1/p" "$here/app/language.cc"
}
if [ -n "$lan" ] && [ -z "$(layout_of "$lan")" ]; then echo "demo.sh: unknown language $lan" >&2; exit 2; fi
user_folder=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local 2>/dev/null | grep -v /Public/ | head -n 1)
log_dir=$user_folder/Pindle/PindleDownloader
mkdir -p "$log_dir"
installed_before=0
[ -n "$(python3 "$here/tools/install_summary.py" "$WINEPREFIX" --json | python3 -c 'import json,sys; print(json.load(sys.stdin)["install_folder"] or "")')" ] && installed_before=1

arguments=()
[ "$auto" = 1 ] && arguments+=(-auto)
[ -n "$lan" ] && arguments+=("-lan:$lan")
events_before=$(wc -l <"$state/collector.log")
step "PindleDownloader.exe ${arguments[*]}"
shots=$run/screens
if [ "$headless" = 1 ]; then
  # The layout the installer will load: the chosen one, else the one its language choice makes
  # here (English on this prefix's system language).
  layout=$here/resources/layouts/$(layout_of "${lan:-lan_en}").xml
  drive=(python3 "$here/tools/installer_drive.py" --layout "$layout" --log-dir "$log_dir" --shots "$shots")
  [ "$auto" = 1 ] && drive+=(--auto)
  [ "$installed_before" = 0 ] && drive+=(--custom-folder "${folder:-C:\\Games\\Pindle Demo}")
  "${drive[@]}" >"$run/drive.log" 2>&1 &
  drive_pid=$!
  sleep 0.3
  "$loader" "$build/$tree/PindleDownloader.exe" "${arguments[@]}" >"$run/installer.out" 2>&1 </dev/null &
  installer_pid=$!
  drive_status=0
  wait "$drive_pid" || drive_status=$?
  sed 's/^/  /' "$run/drive.log"
  # The installer ends by itself once the product has started; a failed run is ended here.
  for _ in $(seq 1 100); do kill -0 "$installer_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$installer_pid" 2>/dev/null || true
  [ "$drive_status" = 0 ] || { echo "demo.sh: the installer did not get through, see $run/drive.log and the screenshots in $shots" >&2; }
else
  echo "the installer's window is on your display ($DISPLAY); this script waits until it closes"
  "$loader" "$build/$tree/PindleDownloader.exe" "${arguments[@]}" >"$run/installer.out" 2>&1 </dev/null || true
  drive_status=0
fi
sleep 1
wineserver -k >/dev/null 2>&1 || true  # ends the started product too; writes the registry to disk

step "summary"
echo "Windows programs:  $tree tree ($build/$tree)"
[ "$installed_before" = 1 ] && echo "run:               an update over the earlier installation in this prefix"
python3 "$here/tools/install_summary.py" "$WINEPREFIX"
echo "events received, in order:"
tail -n +"$((events_before + 1))" "$state/collector.log" | python3 -c '
import json, sys
for line in sys.stdin:
    try:
        record = json.loads(line)
    except ValueError:
        continue
    properties = record.get("properties", {})
    extra = {k: v for k, v in properties.items() if k in ("exit_reason", "fail_type", "error_code")}
    print("  %s type=%s %s" % (properties.get("action"), properties.get("type"), " ".join("%s=%s" % i for i in extra.items())))'
echo "installer log:     $(ls -t "$log_dir"/PindleDownloaderLog*.log 2>/dev/null | head -n 1)"
[ "$headless" = 1 ] && echo "screenshots:       $shots"
echo "run folder:        $run (services: $state)"
exit "$drive_status"
