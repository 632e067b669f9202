#!/usr/bin/env bash
# Starts or stops one of the Python test servers of tools/ in the background, for test programs
# that cannot start it themselves (the Windows tests under Wine). CTest runs "start" as a fixture
# set-up and "stop" as its clean-up.
#   server_ctl.sh start FOLDER SERVER NAME   -> FOLDER/NAME.port holds the port once it listens
#   server_ctl.sh stop FOLDER SERVER NAME
# SERVER is the script's file name in tools/ (collector.py, fault_server.py).
set -euo pipefail
action=${1:?start or stop}
folder=${2:?folder for the port and pid files}
server=${3:?server script in tools/}
name=${4:?name of the port and pid files}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$folder"
case "$action" in
  start)
    "$0" stop "$folder" "$server" "$name"
    rm -f "$folder/$name.port"
    # Own session and no inherited output: CTest must not wait for the server's pipes.
    setsid python3 "$here/$server" --port-file "$folder/$name.port" </dev/null >/dev/null 2>&1 &
    echo $! >"$folder/$name.pid"
    for _ in $(seq 1 600); do
      [ -s "$folder/$name.port" ] && exit 0
      sleep 0.05
    done
    echo "$server did not start" >&2
    exit 1
    ;;
  stop)
    if [ -s "$folder/$name.pid" ]; then
      kill "$(cat "$folder/$name.pid")" 2>/dev/null || true
      rm -f "$folder/$name.pid"
    fi
    ;;
  *)
    echo "usage: $0 start|stop FOLDER SERVER NAME" >&2
    exit 2
    ;;
esac
