#!/usr/bin/env bash
# Renders every language's main window in its five states and its popup in its four kinds with
# renderlayout.exe under Wine, composited on a neutral grey, into docs/ui/<language>/, and one
# contact sheet per language (ImageMagick's montage) as docs/ui/<language>.png.
# Usage: make_ui_docs.sh BUILD_TREE [OUT_FOLDER]   (BUILD_TREE: a Windows tree with renderlayout)
set -euo pipefail
tree=$1
here=$(cd "$(dirname "$0")/../.." && pwd)
out=${2:-$here/docs/ui}
tool=$tree/tools/renderlayout/renderlayout.exe
run=$tree/wine-run.sh
grey=96,96,96
# language, main window layout, popup layout (the installer's table)
languages="cn:UIMAINWINDOW:UICANNOTDOWN en:ENGUIMAINWINDOW:ENGUICANNOTDOWN kr:KRUIMainWindow:KRUICANNOTDOWN
jp:JPUIMainWindow:JPUICANNOTDOWN vn:VNUIMainWindow:VNUICANNOTDOWN th:THUIMAINWINDOW:THUICANNOTDOWN
id:IDUIMAINWINDOW:IDUICANNOTDOWN tw:TWUIMainWindow:TWUICANNOTDOWN"
render() {  # LAYOUT STATE FILE
  "$run" "$tool" "$1" "$2" "Z:$3" --over "$grey" </dev/null
}
for entry in $languages; do
  IFS=: read -r language main popup <<<"$entry"
  mkdir -p "$out/$language"
  shots=()
  for state in main custom download:50 installing complete; do
    file=$out/$language/main-${state/:/-}.png
    render "$main" "$state" "$file"
    shots+=("$file")
  done
  for kind in 0 1 2 3; do
    file=$out/$language/popup-$kind.png
    render "$popup" "popup:$kind" "$file"
    shots+=("$file")
  done
  montage "${shots[@]}" -tile 3x -geometry +12+12 -background "rgb($grey)" "$out/$language.png"
  echo "$language: ${#shots[@]} renders and $out/$language.png"
done
