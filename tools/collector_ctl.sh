#!/usr/bin/env bash
# Starts or stops one tools/collector.py in the background for a test run whose programs cannot
# start it themselves (the Windows tests under Wine). CTest runs "start" as a fixture set-up
# and "stop" as its clean-up.
#   collector_ctl.sh start FOLDER   -> FOLDER/collector.port holds the port once it listens
#   collector_ctl.sh stop FOLDER
set -euo pipefail
action=${1:?start or stop}
folder=${2:?folder for the port and pid files}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$folder"
case "$action" in
  start)
    "$0" stop "$folder"
    rm -f "$folder/collector.port"
    # Own session and no inherited output: CTest must not wait for the server's pipes.
    setsid python3 "$here/collector.py" --port-file "$folder/collector.port" \
      </dev/null >/dev/null 2>&1 &
    echo $! >"$folder/collector.pid"
    for _ in $(seq 1 200); do
      [ -s "$folder/collector.port" ] && exit 0
      sleep 0.05
    done
    echo "collector did not start" >&2
    exit 1
    ;;
  stop)
    if [ -s "$folder/collector.pid" ]; then
      kill "$(cat "$folder/collector.pid")" 2>/dev/null || true
      rm -f "$folder/collector.pid"
    fi
    ;;
  *)
    echo "usage: $0 start|stop FOLDER" >&2
    exit 2
    ;;
esac
