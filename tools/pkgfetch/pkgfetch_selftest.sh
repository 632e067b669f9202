#!/usr/bin/env bash
# Runs pkgfetch.exe against tools/fault_server.py: a download whose parts are cut, one whose
# parts all go silent (about 40 s, the real receive time-out) and one from a server that ignores
# ranges must each end complete and byte-exact with exit code 0; a size the server disagrees
# with must end with 1.
#   pkgfetch_selftest.sh RUNNER PKGFETCH_EXE WORK_FOLDER
# RUNNER is the program that starts Windows programs (the build tree's wine-run.sh).
set -euo pipefail
runner=${1:?runner}
exe=${2:?pkgfetch.exe}
work=${3:?work folder}
tools=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$work"
"$tools/server_ctl.sh" start "$work/server" fault_server.py fault
trap '"$tools/server_ctl.sh" stop "$work/server" fault_server.py fault; rm -f "$work/out.bin"' EXIT
port=$(cat "$work/server/fault.port")
script() { curl -sf -X POST --data "$1" "http://127.0.0.1:$port/_script" >/dev/null; }
fail() { echo "FAIL: $*" >&2; exit 1; }
out_windows="Z:$(echo "$work/out.bin" | tr / '\\')"

# fetch NAME SCRIPT SIZE MODE PYTHON_CHECK: one run that must succeed, with the result line
# checked by PYTHON_CHECK (result in `r`) and the file compared with the package.
fetch() {
  local name=$1 json=$2 size=$3 mode=$4 check=$5 line code
  script "$json"
  set +e
  line=$("$runner" "$exe" "http://127.0.0.1:$port/pkg/package.7z" "$size" "$out_windows" 2>/dev/null)
  code=$?
  set -e
  echo "$name: exit $code, $line"
  [ "$code" -eq 0 ] || fail "$name: exit code $code"
  python3 - "$line" "$work/out.bin" "$size" "$mode" "$check" <<'PY' || fail "$name: result"
import array, json, sys
r = json.loads(sys.argv[1])
size = int(sys.argv[3])
assert r == {**r, "ok": True, "bytes": size, "mode": sys.argv[4], "fallback": False}, r
assert eval(sys.argv[5]), r
data = open(sys.argv[2], "rb").read()
expected = array.array("I", range(1, size // 4 + 1))
if sys.byteorder != "little":
    expected.byteswap()
assert data == expected.tobytes(), "content differs"
PY
}
requests() { curl -sf "http://127.0.0.1:$port/_log"; }

size=16777216
fetch "cut parts" "{\"size\": $size, \"drop_parts\": {\"count\": 1, \"seed\": 3, \"spare_first\": 1}}" \
  "$size" multi-part 'r["restarts"] >= 4 and r["seconds"] > 0'

# Every part's first request goes silent after 1 MiB without closing, for longer than the run:
# only the fetcher's own time-out can end it, and each part resumes from its last byte.
fetch "silent parts" "{\"size\": $size, \"stall_parts\": {\"count\": 1, \"after\": 1048576, \"seconds\": 600, \"spare_first\": 1}}" \
  "$size" multi-part 'r["restarts"] == 4'
requests | python3 -c '
import json, sys
log = json.load(sys.stdin)
assert sum(1 for e in log if e["stalled"]) == 4, log
' || fail "silent parts: the server did not hold four parts"

# A server that answers ranges with the whole file: one whole-file transfer, no parts.
fetch "ranges ignored" "{\"size\": $size, \"ranges\": \"200\"}" "$size" single 'r["restarts"] == 0'
requests | python3 -c '
import json, sys
log = json.load(sys.stdin)
assert [e["range_header"] for e in log] == ["bytes=0-0", None], log
' || fail "ranges ignored: not one probe and one whole-file transfer"

script "{\"size\": 4096}"
set +e
line=$("$runner" "$exe" "http://127.0.0.1:$port/pkg/package.7z" 4000 "$out_windows" 2>/dev/null)
code=$?
set -e
echo "size mismatch: exit $code, $line"
[ "$code" -eq 1 ] || fail "exit code $code for a size mismatch"
python3 -c 'import json,sys; r=json.loads(sys.argv[1]); assert r["ok"] is False and r["bytes"] == 0, r' "$line" \
  || fail "result of the size mismatch"
echo "pkgfetch self-test passed"
