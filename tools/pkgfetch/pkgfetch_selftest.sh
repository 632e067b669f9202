#!/usr/bin/env bash
# Runs pkgfetch.exe against tools/fault_server.py: a download whose parts are cut must end
# complete and byte-exact with exit code 0; a size the server disagrees with must end with 1.
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

size=16777216
script "{\"size\": $size, \"drop_parts\": {\"count\": 1, \"seed\": 3, \"spare_first\": 1}}"
set +e
line=$("$runner" "$exe" "http://127.0.0.1:$port/pkg/package.7z" "$size" "$out_windows" 2>/dev/null)
code=$?
set -e
echo "cut parts: exit $code, $line"
[ "$code" -eq 0 ] || fail "exit code $code"
python3 - "$line" "$work/out.bin" "$size" <<'PY' || fail "result"
import array, json, sys
result = json.loads(sys.argv[1])
size = int(sys.argv[3])
assert result == {**result, "ok": True, "bytes": size, "mode": "multi-part", "fallback": False}, result
assert result["restarts"] >= 4 and result["seconds"] > 0, result
data = open(sys.argv[2], "rb").read()
expected = array.array("I", range(1, size // 4 + 1))
if sys.byteorder != "little":
    expected.byteswap()
assert data == expected.tobytes(), "content differs"
PY

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
