#!/usr/bin/env bash
# The demo package is a valid solid 7z with LZMA2 for everything and BCJ in front of the
# programs, holding every program of the product, and the installer's own extractor
# (unpack7z.exe, under Wine) unpacks it to the same files as 7zz. scripts/demo-services.sh
# starts nginx and the collector, which serve the information answer (the package's real size
# and MD5), ranged parts (206, the right bytes) and the agreement and help pages, and print a
# posted event; stop frees the ports again.
#   demo_package_services_test.sh SOURCE_ROOT PACKAGE.7z WORK_FOLDER RUNNER UNPACK7Z_EXE
# RUNNER is the program that starts Windows programs (the build tree's wine-run.sh).
set -euo pipefail
root=${1:?source root}
package=${2:?package}
work=${3:?work folder}
runner=${4:?runner}
unpack7z=${5:?unpack7z.exe}
fail() { echo "FAIL: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"

# --- the package ---
7zz t "$package" >/dev/null || fail "7zz t rejects $package"
7zz l -slt "$package" >"$work/listing.txt" || fail "7zz l -slt"
python3 - "$work/listing.txt" <<'PY' || fail "package methods or contents"
import sys
text = open(sys.argv[1], encoding="utf-8").read()
head, _, body = text.partition("----------\n")
archive = dict(line.split(" = ", 1) for line in head.splitlines() if " = " in line)
assert archive.get("Type") == "7z", archive
assert archive.get("Solid") == "+", archive
entries = {}
for block in body.split("\n\n"):
    fields = dict(line.split(" = ", 1) for line in block.splitlines() if " = " in line)
    if "Path" in fields:
        entries[fields["Path"]] = fields
programs = ["bin/Pindle.exe", "bin/Pindle_unload.exe", "bin/pindleloader.exe", "bin/kntd32.exe",
            "bin/kntd64.exe", "bin/Pindlemirror/Pindlemirror.exe", "engine/mirrorinstaller.exe",
            "engine/engine7.exe"]
for path in programs:
    assert path in entries, "missing " + path
    assert entries[path]["Method"].split()[0] == "BCJ", (path, entries[path]["Method"])
    assert "LZMA2" in entries[path]["Method"], (path, entries[path]["Method"])
data = [p for p, f in entries.items() if p.startswith("data/") and f.get("Attributes", "").startswith("A")]
assert len(data) >= 3, data
for path in data:
    assert entries[path]["Method"].startswith("LZMA2"), (path, entries[path]["Method"])
sizes = {p: int(entries[p]["Size"]) for p in data}
assert any(p.endswith(".img.lz4") for p in sizes) and any(p.endswith(".xml") for p in sizes), sizes
PY

mkdir -p "$work/by-7zz" "$work/by-installer"
7zz x -bd -bso0 "-o$work/by-7zz" "$package" || fail "7zz x"
"$runner" "$unpack7z" "Z:$(echo "$package" | tr / '\\')" "Z:$(echo "$work/by-installer" | tr / '\\')" \
  >"$work/unpack7z.log" 2>&1 || fail "unpack7z.exe: $(cat "$work/unpack7z.log")"
diff -r "$work/by-7zz" "$work/by-installer" >/dev/null || fail "the installer's extractor unpacked other files than 7zz"
rm -rf "$work/by-7zz" "$work/by-installer"

# --- the services, on free ports ---
read -r http_port collector_port < <(python3 -c '
import socket
s = [socket.socket() for _ in range(2)]
for x in s: x.bind(("127.0.0.1", 0))
print(*[x.getsockname()[1] for x in s])')
export PINDLE_DEMO_HTTP_PORT=$http_port PINDLE_DEMO_COLLECTOR_PORT=$collector_port
services() { bash "$root/scripts/demo-services.sh" "$@" --state "$work/state"; }
trap 'services stop >/dev/null 2>&1 || true' EXIT
services start "$package" --rate 100000 >/dev/null || fail "start"

base=http://127.0.0.1:$http_port
curl -sf "$base/downloder/2.0/infoV2?channel=en&clientVersion=1.0.1.0000&lan=lan_en" >"$work/info.json" ||
  fail "information answer"
python3 - "$work/info.json" "$package" "$base" <<'PY' || fail "information answer content"
import hashlib, json, os, sys
answer = json.load(open(sys.argv[1]))
info = answer["data"]["fileInfo"]
data = open(sys.argv[2], "rb").read()
assert answer["code"] == 0, answer
assert info["size"] == len(data), (info, len(data))
assert info["md5"] == hashlib.md5(data).hexdigest(), info
assert info["url"] == sys.argv[3] + "/package/" + os.path.basename(sys.argv[2]), info
PY
url=$base/package/$(basename "$package")
code=$(curl -s -o "$work/part.bin" -w '%{http_code}' -r 1000-4999 "$url")
[ "$code" = 206 ] || fail "ranged request answered $code"
cmp "$work/part.bin" <(tail -c +1001 "$package" | head -c 4000) || fail "ranged part differs from the package"
for page in /agreement.html /faq; do
  curl -sf "$base$page" | grep -q "<html" || fail "page $page"
done

# One event, encoded as the installer's upload is, comes out of the collector as one line.
body=$(python3 -c '
import base64, gzip, json, urllib.parse
batch = json.dumps([{"event": "Downloader_Launch", "properties": {"type": "upgrade"}}])
print("data_list=" + urllib.parse.quote(base64.b64encode(gzip.compress(batch.encode())).decode(), safe="-._~") + "&gzip=1")')
curl -sf --data "$body" "http://127.0.0.1:$collector_port/sa?project=default" >/dev/null || fail "collector upload"
for _ in $(seq 1 50); do grep -q Downloader_Launch "$work/state/collector.log" && break; sleep 0.1; done
grep -qx '{"event":"Downloader_Launch","properties":{"type":"upgrade"}}' "$work/state/collector.log" ||
  fail "the collector did not print the event: $(cat "$work/state/collector.log")"

services stop >/dev/null || fail "stop"
for port in "$http_port" "$collector_port"; do
  if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then fail "port $port still answers after stop"; fi
done
echo "demo package and services: ok"
