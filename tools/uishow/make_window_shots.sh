#!/usr/bin/env bash
# Screenshots of the real layered windows (uishow.exe under Wine on a private Xvfb display): each
# language's main window after its opening animation and each popup kind over it, cut to the
# window area, into docs/ui/windows/<language>-main.png and <language>-popup-<kind>.png, and the
# English custom panel with "C:\Games" typed into the install-path box's pop-up edit
# (en-custom-typing.png). Xvfb has no compositor, so the windows show their premultiplied pixels
# over black.
# Usage: make_window_shots.sh BUILD_TREE [OUT_FOLDER]   (BUILD_TREE: a Windows tree with uishow)
set -euo pipefail
tree=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
out=${2:-$here/docs/ui/windows}
tool=$tree/tools/uishow/uishow.exe
run=$tree/wine-run.sh
mkdir -p "$out"
display_file=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$display_file" >/dev/null 2>&1 </dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 1 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$display_file")"
shot() {  # FILE ARGS...: runs uishow, photographs the screen once the windows are up
  local file=$1; shift
  "$run" "$tool" "$@" --hold 4000 </dev/null >/dev/null 2>&1 &
  local pid=$!
  sleep 3
  import -window root -crop "${crop:-720x560+300+240}" +repage "$file"
  wait $pid || true
}
for language in lan_en lan_cn lan_jp lan_th; do
  name=${language#lan_}
  shot "$out/$name-main.png" --lan "$language"
  for kind in 0 1 2 3; do
    shot "$out/$name-popup-$kind.png" --lan "$language" --popup "$kind"
  done
  echo "$name: main window and four popups"
done
# The custom panel is taller (652 x 516).
crop=680x600+300+240 shot "$out/en-custom-typing.png" --lan lan_en --state custom --type 'C:\Games'
echo "en: install-path box with its pop-up edit"
