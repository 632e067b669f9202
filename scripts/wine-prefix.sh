#!/usr/bin/env bash
# Creates the private Wine prefix of one build tree, once: fonts, font links and no crash dialog.
# Usage: wine-prefix.sh WINE_ROOT LOADER   (prefix in WINE_ROOT/prefix, HOME in WINE_ROOT/home;
# LOADER is Wine's 32-bit "wine" or 64-bit "wine64" program, matching the tree's programs)
set -euo pipefail
root=$1
loader=$2
mkdir -p "$root/home"
exec 9>"$root/.lock"
flock 9
export WINEPREFIX="$root/prefix" HOME="$root/home" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# The marker holds the set-up's revision: a prefix made by an older script is made again.
revision=2
[ "$(cat "$WINEPREFIX/.pindle-ready" 2>/dev/null)" = "$revision" ] && exit 0
rm -rf "$WINEPREFIX"
"$loader" wineboot -i </dev/null >/dev/null 2>&1
wineserver -w

# Wine's own fonts (Tahoma) and the CJK and Thai fonts that GDI+ reaches through font links.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
for f in /usr/share/wine/fonts/*; do ln -sf "$f" "$fonts/"; done
ln -sf /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$fonts/wqy-microhei.ttc"
loma=$(find /usr/share/fonts -name 'Loma.ttf' | head -n 1)
[ -n "$loma" ] && ln -sf "$loma" "$fonts/Loma.ttf"

reg="$root/prefix-settings.reg"
python3 - "$reg" <<'PY'
import sys
def multi_sz(items):
    data = ("\0".join(items) + "\0\0").encode("utf-16-le")
    return "hex(7):" + ",".join("%02x" % b for b in data)
link = multi_sz(["wqy-microhei.ttc,WenQuanYi Micro Hei", "Loma.ttf,Loma"])
# "Microsoft YaHei" becomes WenQuanYi, which has CJK but no Thai: like YaHei on Windows, it
# falls back to a Thai face for Thai text.
thai = multi_sz(["Loma.ttf,Loma"])
text = f"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Microsoft YaHei"="WenQuanYi Micro Hei"
"\u5fae\u8f6f\u96c5\u9ed1"="WenQuanYi Micro Hei"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"={link}
"Microsoft Sans Serif"={link}
"Segoe UI"={link}
"Microsoft YaHei"={thai}
"\u5fae\u8f6f\u96c5\u9ed1"={thai}
"WenQuanYi Micro Hei"={thai}

[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"={link}
"Microsoft Sans Serif"={link}
"Segoe UI"={link}
"Microsoft YaHei"={thai}
"\u5fae\u8f6f\u96c5\u9ed1"={thai}
"WenQuanYi Micro Hei"={thai}
"""
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))
PY
"$loader" regedit /S "Z:${reg//\//\\}" </dev/null >/dev/null 2>&1
wineserver -w
echo "$revision" >"$WINEPREFIX/.pindle-ready"
