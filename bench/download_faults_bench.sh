#!/usr/bin/env bash
# The package download against tools/fault_server.py on 127.0.0.1, the way a user meets two
# unkind servers: one that ignores ranges (answers 200 with the whole file) and one whose four
# parts all go silent after 1 MiB without closing (only the fetcher's 40 s receive time-out can
# end them), each beside a normal server for the same file. pkgfetch.exe runs under Wine; every
# result is byte-checked by pkgfetch's size check and the server's request log.
#
#   bash bench/download_faults_bench.sh WIN64_TREE WORK_FOLDER [SIZE] [RUNS]
#
# SIZE defaults to 33554432 (32 MiB), RUNS to 1; SERVERS (environment) picks some of "normal
# ranges-ignored silent-parts". Prints one line per fetch and a Markdown table.
set -euo pipefail
tree=${1:?x86_64 build tree}
work=${2:?work folder}
size=${3:-33554432}
runs=${4:-1}
tree=$(cd "$tree" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work"
work=$(cd "$work" && pwd)
pkgfetch="$tree/tools/pkgfetch/pkgfetch.exe"
runner="$tree/wine-run.sh"
[ -x "$runner" ] && [ -f "$pkgfetch" ] || { echo "build pkgfetch in $tree first" >&2; exit 2; }

"$here/tools/server_ctl.sh" start "$work/server" fault_server.py fault
trap '"$here/tools/server_ctl.sh" stop "$work/server" fault_server.py fault; rm -f "$work/out.bin"' EXIT
port=$(cat "$work/server/fault.port")
out_windows="Z:$(echo "$work/out.bin" | tr / '\\')"

declare -A scripts=(
  [normal]="{\"size\": $size}"
  [ranges-ignored]="{\"size\": $size, \"ranges\": \"200\"}"
  [silent-parts]="{\"size\": $size, \"stall_parts\": {\"count\": 1, \"after\": 1048576, \"seconds\": 600, \"spare_first\": 1}}"
)
rows=()
for name in ${SERVERS:-normal ranges-ignored silent-parts}; do
  for run in $(seq 1 "$runs"); do
    curl -sf -X POST --data "${scripts[$name]}" "http://127.0.0.1:$port/_script" >/dev/null
    line=$("$runner" "$pkgfetch" "http://127.0.0.1:$port/pkg/package.7z" "$size" "$out_windows" 2>/dev/null) || true
    log=$(curl -sf "http://127.0.0.1:$port/_log")
    row=$(python3 - "$name" "$run" "$line" "$log" <<'PY'
import json, sys
name, run, line, log = sys.argv[1], sys.argv[2], sys.argv[3], json.loads(sys.argv[4])
r = json.loads(line) if line.strip() else {"ok": False, "seconds": 0, "mode": "?", "fallback": False, "restarts": 0}
whole = sum(1 for e in log if e.get("range_header") is None)
ranged = sum(1 for e in log if e.get("range_header") is not None)
stalled = sum(1 for e in log if e.get("stalled"))
sent = sum(e.get("sent", 0) for e in log)
print("| %s | %s | %s | %.2f | %s | %s | %d | %d | %d | %.2f |" % (
    name, run, "yes" if r["ok"] else "NO", r["seconds"], r["mode"], r["restarts"], whole, ranged, stalled,
    sent / max(1, r.get("bytes", 1))))
PY
)
    echo "$name run $run: $line" >&2
    rows+=("$row")
  done
done
echo "| server | run | complete | seconds | mode | restarts | whole-file requests | ranged requests | silent requests | bytes sent / file |"
echo "|---|---|---|---|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
