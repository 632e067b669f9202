#!/usr/bin/env bash
# The installer's window while it downloads: PindleDownloader.exe "-auto" in a private Wine prefix
# fetches a 512 MiB package from nginx on 127.0.0.1 (the demo services, uncapped, on free ports),
# while ui_latency_probe.exe times its UI thread from outside (WM_NULL every 50 ms); then
# pkgfetch.exe, the same four-part download without a window, fetches the same file. Prints the
# window's download time (from its own log: the download's start to "File download successfully"),
# pkgfetch's, their ratio and the UI thread's latencies.
#
#   bash bench/window_download_bench.sh TREE WORK_FOLDER [RUNS]
#
# TREE is a built Windows tree (PindleDownloader, pkgfetch, ui_latency_probe); needs a display
# (DISPLAY) or starts a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:?build tree}" && pwd)
work=${2:?work folder}
runs=${3:-1}
mkdir -p "$work"
work=$(cd "$work" && pwd)
loader=/usr/lib/wine/wine
case "$tree" in *win64*) loader=/usr/lib/wine/wine64 ;; esac
probe="$tree/bench/ui_latency_probe.exe"
pkgfetch="$tree/tools/pkgfetch/pkgfetch.exe"
[ -f "$probe" ] && [ -f "$pkgfetch" ] && [ -f "$tree/PindleDownloader.exe" ] ||
  { echo "build PindleDownloader, pkgfetch and ui_latency_probe in $tree first" >&2; exit 2; }

size=$((512 * 1024 * 1024))
package=$work/package.7z
if [ ! -f "$package" ] || [ "$(stat -c %s "$package")" -ne "$size" ]; then
  echo "making the 512 MiB package (random bytes)" >&2
  head -c "$size" /dev/urandom >"$package.tmp" && mv "$package.tmp" "$package"
fi
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
export PINDLE_DEMO_HTTP_PORT=$(free_port) PINDLE_DEMO_COLLECTOR_PORT=$(free_port)
export PINDLE_DOWNLOAD_INFO_HOST=http://127.0.0.1:$PINDLE_DEMO_HTTP_PORT
export PINDLE_COLLECTOR_HOST=http://127.0.0.1:$PINDLE_DEMO_COLLECTOR_PORT
bash "$here/scripts/demo-services.sh" start "$package" --no-cap --state "$work/services" >/dev/null

xvfb_pid=
cleanup() {
  WINEPREFIX=$work/wine/prefix wineserver -k >/dev/null 2>&1 || true
  bash "$here/scripts/demo-services.sh" stop --state "$work/services" >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:97
  sleep 1
fi
bash "$here/scripts/wine-prefix.sh" "$work/wine" "$loader" </dev/null >/dev/null 2>&1
export WINEPREFIX=$work/wine/prefix HOME=$work/wine/home WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
wineserver -p </dev/null >/dev/null 2>&1
"$loader" cmd /c exit </dev/null >/dev/null 2>&1
local_folder=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local | grep -v /Public/ | head -n 1)
log=$local_folder/Pindle/PindleDownloader/PindleDownloaderLog0.log
url=$(curl -sf "$PINDLE_DOWNLOAD_INFO_HOST/downloder/2.0/infoV2?channel=en" |
  python3 -c 'import json,sys; print(json.load(sys.stdin)["data"]["fileInfo"]["url"])')

seconds_between() {  # the log's "2026.12.10 14:12:01:925" stamps of two lines
  python3 - "$log" "$1" "$2" <<'PY'
import re, sys
from datetime import datetime
text = open(sys.argv[1], "rb").read().decode("gbk", "replace").splitlines()
def stamp(pattern):
    for line in reversed(text):
        if re.search(pattern, line):
            return datetime.strptime(line[:23], "%Y.%m.%d %H:%M:%S:%f")
    raise SystemExit("no line /%s/ in the log" % pattern)
print("%.2f" % (stamp(sys.argv[3]) - stamp(sys.argv[2])).total_seconds())
PY
}

for run in $(seq 1 "$runs"); do
  rm -f "$local_folder"/Pindle/PindleDownloader/PindleDownloaderLog*.log
  "$loader" "$probe" 900 >"$work/probe.txt" 2>&1 &
  probe_pid=$!
  "$loader" "$tree/PindleDownloader.exe" -auto >/dev/null 2>&1 </dev/null &
  for _ in $(seq 1 1800); do
    grep -aq "File download successfully\|DownloadFail\|Net_ERROR" "$log" 2>/dev/null && break
    sleep 0.2
  done
  window=$(seconds_between "Start (Multi|Single) thread Download" "File download successfully")
  # The installer ends; its window goes and the probe prints its figures.
  "$loader" taskkill /f /im PindleDownloader.exe >/dev/null 2>&1 </dev/null || true
  wait "$probe_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1
  "$loader" cmd /c exit </dev/null >/dev/null 2>&1
  rm -f "$work/pkgfetch.out"
  start=$(date +%s.%N)
  "$loader" "$pkgfetch" "$url" "$size" "Z:${work//\//\\}\\pkgfetch.out" >/dev/null 2>&1 </dev/null
  end=$(date +%s.%N)
  fetch=$(python3 -c "print('%.2f' % ($end - $start))")
  cmp -s "$package" "$work/pkgfetch.out" || echo "run $run: pkgfetch's file differs" >&2
  echo "run $run: window $window s, pkgfetch $fetch s, ratio $(python3 -c "print('%.2f' % ($window / $fetch))"), UI thread: $(cat "$work/probe.txt")"
done
