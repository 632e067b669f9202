#!/usr/bin/env bash
# Package download benchmark: a private nginx on 127.0.0.1 serves one 512 MiB file, once through
# a location with a per-connection rate cap (as CDNs impose) and once without. The same file is
# fetched by the installer's four-part download (pkgfetch.exe under Wine), by `aria2c -x4 -s4`
# (skipped when it is not installed) and by `curl`; every result is compared with the original.
#
#   bash bench/download_bench.sh WIN64_TREE WORK_FOLDER [RUNS] [RATE]
#
# WIN64_TREE is a configured x86_64 tree with pkgfetch built (cmake --build TREE --target pkgfetch);
# RUNS (default 1) repeats every fetch; RATE (default 16m) is nginx's limit_rate per connection.
# Prints one line per fetch and a summary table in Markdown.
set -euo pipefail
tree=${1:?x86_64 build tree}
work=${2:?work folder}
runs=${3:-1}
rate=${4:-16m}
tree=$(cd "$tree" && pwd)
mkdir -p "$work"
work=$(cd "$work" && pwd)
pkgfetch="$tree/tools/pkgfetch/pkgfetch.exe"
runner="$tree/wine-run.sh"
[ -x "$runner" ] && [ -f "$pkgfetch" ] || { echo "build pkgfetch in $tree first" >&2; exit 2; }
command -v nginx >/dev/null || { echo "nginx is not installed" >&2; exit 2; }

size=$((512 * 1024 * 1024))
www="$work/www"
mkdir -p "$www" "$work/nginx/logs" "$work/nginx/tmp" "$work/out"
if [ ! -f "$www/package.7z" ] || [ "$(stat -c %s "$www/package.7z")" -ne "$size" ]; then
  echo "making the 512 MiB package (random bytes)" >&2
  head -c "$size" /dev/urandom >"$www/package.7z.tmp"
  mv "$www/package.7z.tmp" "$www/package.7z"
fi
chmod -R a+rX "$www"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
user_line=""
[ "$(id -u)" -eq 0 ] && user_line="user root;"
cat >"$work/nginx/nginx.conf" <<EOF
$user_line
worker_processes 2;
error_log $work/nginx/logs/error.log warn;
pid $work/nginx/nginx.pid;
events { worker_connections 256; }
http {
  access_log off;
  sendfile on;
  tcp_nopush on;
  keepalive_timeout 30;
  client_body_temp_path $work/nginx/tmp/body;
  proxy_temp_path $work/nginx/tmp/proxy;
  fastcgi_temp_path $work/nginx/tmp/fastcgi;
  uwsgi_temp_path $work/nginx/tmp/uwsgi;
  scgi_temp_path $work/nginx/tmp/scgi;
  types { application/octet-stream 7z; }
  server {
    listen 127.0.0.1:$port;
    location /capped/ { alias $www/; limit_rate $rate; }
    location /free/ { alias $www/; }
  }
}
EOF
nginx -p "$work/nginx" -c "$work/nginx/nginx.conf" -g 'daemon off;' </dev/null >/dev/null 2>&1 &
nginx_pid=$!
cleanup() {
  kill "$nginx_pid" 2>/dev/null || true
  wait "$nginx_pid" 2>/dev/null || true
  rm -f "$work/out/"*
}
trap cleanup EXIT
for _ in $(seq 1 100); do
  curl -sf -o /dev/null -r 0-0 "http://127.0.0.1:$port/free/package.7z" && break
  sleep 0.05
done

have_aria2=0
command -v aria2c >/dev/null && have_aria2=1
[ "$have_aria2" -eq 1 ] || echo "aria2c is not installed: its rows are skipped" >&2

results="$work/results.txt"
: >"$results"
now() { date +%s.%N; }

check() {  # file -> "ok" or "DIFFERS"
  if cmp -s "$1" "$www/package.7z"; then echo ok; else echo DIFFERS; fi
}

fetch() {  # scenario tool run
  local scenario=$1 tool=$2 run=$3
  local url="http://127.0.0.1:$port/$scenario/package.7z"
  local out="$work/out/$tool.bin" start end extra="" status
  rm -f "$out"
  sync
  start=$(now)
  case "$tool" in
    pkgfetch)
      local line
      line=$("$runner" "$pkgfetch" "$url" "$size" "Z:$(echo "$out" | tr / '\\')" 2>"$work/pkgfetch.err") || true
      end=$(now)
      local peak
      peak=$(sed -n 's/^peak_working_set_bytes=//p' "$work/pkgfetch.err")
      extra="peak_mib=$(python3 -c "print(round(${peak:-0} / 1048576, 1))") json=$line"
      ;;
    curl)
      curl -sf -o "$out" "$url" || true
      end=$(now)
      ;;
    aria2c)
      aria2c -q -x4 -s4 --allow-overwrite=true --file-allocation=prealloc \
        -d "$work/out" -o "$tool.bin" "$url" || true
      end=$(now)
      ;;
  esac
  status=$(check "$out")
  local seconds
  seconds=$(python3 -c "print(f'{$end - $start:.2f}')")
  echo "$scenario $tool $run $seconds $status $extra" | tee -a "$results"
  rm -f "$out"
}

for scenario in capped free; do
  for run in $(seq 1 "$runs"); do
    fetch "$scenario" pkgfetch "$run"
    [ "$have_aria2" -eq 1 ] && fetch "$scenario" aria2c "$run"
    fetch "$scenario" curl "$run"
  done
done

python3 - "$results" "$size" "$rate" <<'PY'
import collections, json, sys
size = int(sys.argv[2])
best = {}
own = {}
peaks = []
for line in open(sys.argv[1]):
    parts = line.split(None, 5)
    scenario, tool, run, seconds, status = parts[:5]
    extra = parts[5] if len(parts) > 5 else ""
    if "peak_mib=" in extra:
        peaks.append(float(extra.split("peak_mib=")[1].split()[0]))
    if status != "ok":
        continue
    key = (scenario, tool)
    best[key] = min(best.get(key, float("inf")), float(seconds))
    if "json=" in extra:
        result = json.loads(extra.split("json=", 1)[1])
        own[key] = min(own.get(key, float("inf")), float(result["seconds"]))
print()
print("Wall time per fetch (best run), program start to exit; pkgfetch's includes starting Wine.")
print()
print("| nginx location | tool | seconds | MiB/s | vs curl | vs aria2c |")
print("|---|---|---|---|---|---|")
labels = (("capped", "limit_rate %s per connection" % sys.argv[3]), ("free", "no cap"))
for scenario, label in labels:
    curl = best.get((scenario, "curl"))
    aria = best.get((scenario, "aria2c"))
    for tool in ("pkgfetch", "aria2c", "curl"):
        seconds = best.get((scenario, tool))
        if seconds is None:
            print("| %s | %s | - | - | - | - |" % (label, tool))
            continue
        rate = size / 1048576 / seconds
        vs_curl = "%.2f" % (curl / seconds) if curl else "-"
        vs_aria = "%.2f" % (aria / seconds) if aria else "-"
        print("| %s | %s | %.2f | %.1f | %s | %s |" % (label, tool, seconds, rate, vs_curl, vs_aria))
print()
print("pkgfetch's own download time (probe, preallocation, transfers; its JSON \"seconds\"):")
print()
for scenario, label in labels:
    seconds = own.get((scenario, "pkgfetch"))
    curl = best.get((scenario, "curl"))
    aria = best.get((scenario, "aria2c"))
    if seconds:
        print("- %s: %.2f s, %.1f MiB/s, %s x curl, %s x aria2c" % (
            label, seconds, size / 1048576 / seconds,
            "%.2f" % (curl / seconds) if curl else "-", "%.2f" % (aria / seconds) if aria else "-"))
if peaks:
    print()
    print("pkgfetch peak working set: %.1f MiB (largest of %d runs)" % (max(peaks), len(peaks)))
PY
