#!/usr/bin/env bash
# renderlayout.exe under Wine: exit code 0 and a PNG with alpha for a known layout and state,
# 2 and one line for anything unknown.
# Usage: renderlayout_cli_test.sh WINE_RUN RENDERLAYOUT_EXE OUT_FOLDER
set -u
run=$1 tool=$2 out=$3
mkdir -p "$out"
failures=0
expect() {  # CODE ARGS...: runs the tool, checks its exit code and, for 2, a one-line reason
  local code=$1; shift
  "$run" "$tool" "$@" >/dev/null 2>"$out/stderr"
  local got=$?
  if [ "$got" != "$code" ]; then
    echo "FAIL: renderlayout $* exited $got, wanted $code: $(cat "$out/stderr")"; failures=$((failures + 1))
  elif [ "$code" = 2 ] && [ "$(grep -c . "$out/stderr")" != 1 ]; then
    echo "FAIL: renderlayout $* gave no one-line reason: $(cat "$out/stderr")"; failures=$((failures + 1))
  fi
}
# A PNG whose header says WIDTH x HEIGHT, 8-bit RGBA.
png_is() {  # FILE WIDTH HEIGHT
  local header
  header=$(od -An -tx1 -j16 -N10 "$1" 2>/dev/null | tr -d ' \n')
  local want
  want=$(printf '%08x%08x0806' "$2" "$3")
  if [ "$header" != "$want" ]; then
    echo "FAIL: $1 is not a $2x$3 RGBA PNG (header $header)"; failures=$((failures + 1))
  fi
}
rm -f "$out"/*.png
expect 0 ENGUIMAINWINDOW main "Z:$out/main.png"
png_is "$out/main.png" 652 412
expect 0 JPUIMainWindow custom "Z:$out/custom.png" --over 96,96,96
png_is "$out/custom.png" 652 516
expect 0 thuicannotdown popup:3 "Z:$out/popup.png"
png_is "$out/popup.png" 492 244
expect 2 NO_SUCH_LAYOUT main "Z:$out/x.png"
expect 2 UIAGREEMENT main "Z:$out/x.png"
expect 2 ENGUIMAINWINDOW popup:1 "Z:$out/x.png"
expect 2 ENGUICANNOTDOWN main "Z:$out/x.png"
expect 2 ENGUIMAINWINDOW download:101 "Z:$out/x.png"
expect 2 ENGUICANNOTDOWN popup:4 "Z:$out/x.png"
expect 2 ENGUIMAINWINDOW main "Z:$out/x.png" --over 96,96
expect 2 ENGUIMAINWINDOW main
[ -e "$out/x.png" ] && { echo "FAIL: a refused run wrote its output"; failures=$((failures + 1)); }
[ "$failures" = 0 ] && echo "renderlayout: all cases passed"
exit $((failures > 0))
