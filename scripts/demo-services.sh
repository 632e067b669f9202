#!/usr/bin/env bash
# The demo's services on 127.0.0.1, at the addresses the built installer uses
# (cmake/PindleDeployment.cmake):
#   - nginx (Debian's) on the download-information port: the information answer at
#     "/downloder/2.0/infoV2" (size and MD5 of the package being served), the package under
#     /package/ with ranges and a per-connection rate cap, the agreement and help pages;
#   - the analytics collector (tools/collector.py) on the collector port, printing every decoded
#     event as one line into STATE/collector.log.
#
#   demo-services.sh start PACKAGE.7z [--no-cap | --rate BYTES_PER_SECOND] [--state DIR]
#   demo-services.sh stop [--state DIR]
#
# The default cap is a quarter of the package size per 20 s for each connection, so the
# installer's four parallel parts take about 20 s together. PINDLE_DEMO_HTTP_PORT and
# PINDLE_DEMO_COLLECTOR_PORT move the services (the tests use free ports); STATE defaults to
# $PINDLE_BUILD_ROOT/demo-services (or build/demo-services).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
action=${1:-}
shift || true

deployment_value() {  # the default of one cache variable of PindleDeployment.cmake
  sed -n "s/^set($1 \"\\([^\"]*\\)\".*/\\1/p" "$here/cmake/PindleDeployment.cmake"
}
port_of() { echo "$1" | sed -n 's#^[a-z]*://[^:/]*:\([0-9]*\).*#\1#p'; }
path_of() { echo "$1" | sed -n 's#^[a-z]*://[^/]*\(/.*\)$#\1#p'; }

http_port=${PINDLE_DEMO_HTTP_PORT:-$(port_of "$(deployment_value PINDLE_DOWNLOAD_INFO_HOST)")}
collector_port=${PINDLE_DEMO_COLLECTOR_PORT:-$(port_of "$(deployment_value PINDLE_COLLECTOR_HOST)")}
agreement_path=$(path_of "$(deployment_value PINDLE_AGREEMENT_URL)")
help_path=$(path_of "$(deployment_value PINDLE_HELP_URL)")
client_version=$(sed -n 's/.*<player_version value="\([^"]*\)".*/\1/p' "$here/resources/CUSTOM_SETTING.xml")
state=${PINDLE_BUILD_ROOT:-$here/build}/demo-services

package=
rate=
if [ "$action" = start ]; then
  package=${1:?usage: demo-services.sh start PACKAGE.7z [--no-cap | --rate BYTES] [--state DIR]}
  shift
fi
while [ $# -gt 0 ]; do
  case "$1" in
    --no-cap) rate=0 ;;
    --rate) rate=${2:?--rate needs bytes per second}; shift ;;
    --state) state=${2:?--state needs a folder}; shift ;;
    *) echo "demo-services.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift
done

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

stop() {
  if [ -s "$state/nginx.pid" ]; then
    nginx -p "$state" -c "$state/nginx.conf" -e "$state/nginx-error.log" -s stop 2>/dev/null ||
      kill "$(cat "$state/nginx.pid")" 2>/dev/null || true
  fi
  if [ -s "$state/collector.pid" ]; then
    kill "$(cat "$state/collector.pid")" 2>/dev/null || true
    rm -f "$state/collector.pid"
  fi
  for _ in $(seq 1 100); do
    port_in_use "$http_port" || port_in_use "$collector_port" || { rm -f "$state/nginx.pid"; return 0; }
    sleep 0.1
  done
  echo "demo-services.sh: the services did not stop (ports $http_port, $collector_port)" >&2
  return 1
}

start() {
  [ -f "$package" ] || { echo "demo-services.sh: no package at $package" >&2; exit 1; }
  stop
  for port in "$http_port" "$collector_port"; do
    if port_in_use "$port"; then
      echo "demo-services.sh: port $port of 127.0.0.1 is taken by another program" >&2
      exit 1
    fi
  done
  umask 022
  local www=$state/www name size md5
  rm -rf "$www"
  mkdir -p "$www/package" "$www/downloder/2.0" "$state/temp"
  name=$(basename "$package")
  ln -f "$package" "$www/package/$name" 2>/dev/null || cp "$package" "$www/package/$name"
  size=$(stat -c %s "$package")
  md5=$(md5sum "$package" | cut -d' ' -f1)
  [ -n "$rate" ] || rate=$(( size / 80 > 1 ? size / 80 : 1 ))
  printf '{"code":0,"msg":"ok","data":{"fileInfo":{"version":"%s","size":%s,"md5":"%s","url":"%s"},"lan":""}}\n' \
    "$client_version" "$size" "$md5" "http://127.0.0.1:$http_port/package/$name" >"$www/downloder/2.0/infoV2"
  cat >"$www/agreement.html" <<'HTML'
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Pindle user agreement</title></head>
<body><h1>Pindle user agreement (demo)</h1><p>This page stands in for the user agreement the installer links to.</p></body></html>
HTML
  cat >"$www/faq.html" <<'HTML'
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Pindle help</title></head>
<body><h1>Pindle help (demo)</h1><p>This page stands in for the help page the installer links to.</p></body></html>
HTML
  cat >"$state/nginx.conf" <<CONF
worker_processes 1;
daemon on;
pid $state/nginx.pid;
error_log $state/nginx-error.log;
events { worker_connections 64; }
http {
  access_log $state/nginx-access.log;
  client_body_temp_path $state/temp/body;
  proxy_temp_path $state/temp/proxy;
  fastcgi_temp_path $state/temp/fastcgi;
  uwsgi_temp_path $state/temp/uwsgi;
  scgi_temp_path $state/temp/scgi;
  types { text/html html; application/json json; application/x-7z-compressed 7z; }
  default_type application/octet-stream;
  sendfile on;
  server {
    listen 127.0.0.1:$http_port;
    root $www;
    location = /downloder/2.0/infoV2 { default_type application/json; }
    location /package/ { limit_rate $rate; }
    location = $agreement_path { try_files /agreement.html =404; }
    location = $help_path { default_type text/html; try_files /faq.html =404; }
  }
}
CONF
  # The installer's four parts come from one host: nginx answers ranges natively.
  nginx -p "$state" -c "$state/nginx.conf" -e "$state/nginx-error.log" -t -q ||
    { echo "demo-services.sh: nginx rejects $state/nginx.conf" >&2; exit 1; }
  nginx -p "$state" -c "$state/nginx.conf" -e "$state/nginx-error.log"
  : >"$state/collector.log"
  setsid python3 -u "$here/tools/collector.py" --port "$collector_port" --print-events \
    </dev/null >"$state/collector.log" 2>"$state/collector-error.log" &
  echo $! >"$state/collector.pid"
  for _ in $(seq 1 100); do
    if curl -sf "http://127.0.0.1:$collector_port/_health" >/dev/null &&
       curl -sf "http://127.0.0.1:$http_port/downloder/2.0/infoV2" >/dev/null; then
      echo "information answer: http://127.0.0.1:$http_port/downloder/2.0/infoV2"
      echo "package: http://127.0.0.1:$http_port/package/$name ($size bytes, md5 $md5, cap ${rate} B/s per connection)"
      echo "collector: http://127.0.0.1:$collector_port/sa (events in $state/collector.log)"
      return 0
    fi
    sleep 0.1
  done
  echo "demo-services.sh: the services did not answer; see $state/nginx-error.log and $state/collector-error.log" >&2
  stop
  exit 1
}

case "$action" in
  start) start ;;
  stop) stop ;;
  *) echo "usage: demo-services.sh start PACKAGE.7z [--no-cap | --rate BYTES] [--state DIR] | stop [--state DIR]" >&2
     exit 2 ;;
esac
