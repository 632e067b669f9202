#!/usr/bin/env bash
# The installer's tools and PindleDownloader.exe in a user profile that the ANSI code page cannot
# spell: a copy of the tree's Wine prefix whose local application data and temporary folder lie
# under C:\users\Пользователь 用户, on ANSI code page 1252. Runs, as the installer's "-auto" road
# does, a download (pkgfetch), an extraction (unpack7z) and the analytics of both outcomes
# (trackevent), each with its files in that folder, then foreign_profile_win_test.exe, which
# starts the program itself there.
#   foreign_profile.sh WINE_RUN WINE_ROOT LOADER WORK TEST_EXE PKGFETCH UNPACK7Z TRACKEVENT
set -euo pipefail
wine_run=$1 base=$2 loader=$3 work=$4 test_exe=$5 pkgfetch=$6 unpack7z=$7 trackevent=$8
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

# The tree's prefix, made once; its copy gets the foreign folders.
"$wine_run" cmd /c exit </dev/null >/dev/null 2>&1
rm -rf "$work"
mkdir -p "$work/home"
cp -a "$base/prefix" "$work/prefix"
export WINEPREFIX="$work/prefix" HOME="$work/home" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Unix file names stay UTF-8; the "C" locale gives Windows code page 1252.
unset LC_ALL LC_CTYPE
export LANG=C.UTF-8
name="Пользователь 用户"
user="$WINEPREFIX/drive_c/users/$name"
win_user="C:\\users\\$name"
mkdir -p "$user/AppData/Local" "$user/Temp"

python3 - "$work/profile.reg" "$win_user" <<'PY'
import sys
folder = sys.argv[2].replace("\\", "\\\\")
text = f"""Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]
"Local AppData"="{folder}\\\\AppData\\\\Local"

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]
"Local AppData"="{folder}\\\\AppData\\\\Local"

[HKEY_CURRENT_USER\\Environment]
"TEMP"="{folder}\\\\Temp"
"TMP"="{folder}\\\\Temp"

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Nls\\CodePage]
"ACP"="1252"
"OEMCP"="437"
"""
open(sys.argv[1], "wb").write(b"\xff\xfe" + text.replace("\n", "\r\n").encode("utf-16-le"))
PY
"$loader" regedit /S "Z:$(echo "$work/profile.reg" | tr / '\\')" </dev/null >/dev/null 2>&1
wineserver -w

servers="$work/servers"
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  "$tools/server_ctl.sh" stop "$servers" fault_server.py fault
  "$tools/server_ctl.sh" stop "$servers" collector.py collector
  rm -rf "$work/prefix"
}
trap cleanup EXIT
# Wine's background services must not hold the pipes of the runs below.
wineserver -p </dev/null >/dev/null 2>&1
"$loader" cmd /c exit </dev/null >/dev/null 2>&1
"$tools/server_ctl.sh" start "$servers" fault_server.py fault
"$tools/server_ctl.sh" start "$servers" collector.py collector
fault=$(cat "$servers/fault.port")
collector=$(cat "$servers/collector.port")
post() { curl -sf -X POST --data "$2" "http://127.0.0.1:$1/$3" >/dev/null; }

# Download: four parts, each cut once, into the temporary folder.
size=4194304
post "$fault" "{\"size\": $size, \"drop_parts\": {\"count\": 1, \"seed\": 5, \"spare_first\": 1}}" _script
line=$("$loader" "$pkgfetch" "http://127.0.0.1:$fault/pkg/package.7z" "$size" "$win_user\\Temp\\package.bin" \
  2>/dev/null) || fail "pkgfetch: $line"
echo "pkgfetch: $line"
python3 - "$line" "$user/Temp/package.bin" "$size" <<'PY' || fail "pkgfetch result"
import array, json, sys
result, size = json.loads(sys.argv[1]), int(sys.argv[3])
assert result["ok"] is True and result["bytes"] == size and result["mode"] == "multi-part", result
expected = array.array("I", range(1, size // 4 + 1))
if sys.byteorder != "little":
    expected.byteswap()
assert open(sys.argv[2], "rb").read() == expected.tobytes(), "content differs"
PY

# Extraction: an archive with names in the same scripts, into the local application data.
mkdir -p "$work/archive/Папка 文件夹"
printf 'первый\n' >"$work/archive/первый.txt"
printf '第二\n' >"$work/archive/Папка 文件夹/第二.txt"
(cd "$work/archive" && 7zz a -bd -y "$user/Temp/package.7z" . >/dev/null)
install="$user/AppData/Local/Pindle/install"
mkdir -p "$install"
"$loader" "$unpack7z" "$win_user\\Temp\\package.7z" "$win_user\\AppData\\Local\\Pindle\\install" \
  >"$work/unpack.out" 2>&1 || fail "unpack7z exited with $?: $(cat "$work/unpack.out")"
diff -r "$work/archive" "$install" || fail "the unpacked tree differs"
echo "unpack7z: ok"
# An output that cannot be created is recorded in the error file of the local application data.
rm -rf "$install" && mkdir -p "$install/первый.txt" "$user/AppData/Local/Vesk/DravelInstallPack"
"$loader" "$unpack7z" "$win_user\\Temp\\package.7z" "$win_user\\AppData\\Local\\Pindle\\install" \
  >"$work/unpack.out" 2>&1 && fail "unpack7z succeeded over a folder in place of a file"
grep -q "file name is:" "$user/AppData/Local/Vesk/DravelInstallPack/err.txt" 2>/dev/null \
  || fail "no error file record: $(cat "$work/unpack.out")"
echo "unpack7z error file: ok"

# Analytics: an event the collector refuses is staged in the profile, the next run sends both.
staging="$win_user\\AppData\\Local\\Pindle\\staging_file"
post "$collector" 500 _mode
"$loader" "$trackevent" "http://127.0.0.1:$collector" "$staging" pindle_downloader \
  action=Downloader_Download_Fail >/dev/null 2>&1 && fail "trackevent reported a refused event as delivered"
grep -q '"action":"Downloader_Download_Fail"' "$user/AppData/Local/Pindle/staging_file" \
  || fail "the refused event is not in the staging file"
post "$collector" 200 _mode
"$loader" "$trackevent" "http://127.0.0.1:$collector" "$staging" pindle_downloader \
  action=Downloader_Install_Finish >/dev/null 2>&1 || fail "trackevent could not deliver"
curl -sf "http://127.0.0.1:$collector/_requests" | python3 -c '
import json, sys
actions = [r["properties"]["action"] for q in json.load(sys.stdin) if q.get("status") == 200 for r in q["records"]]
assert actions == ["Downloader_Download_Fail", "Downloader_Install_Finish"], actions
' || fail "the collector did not get the staged and the new event"
[ ! -s "$user/AppData/Local/Pindle/staging_file" ] || fail "the staging file still holds records"
echo "trackevent: ok"

# The start-up steps and the program itself.
"$loader" "$test_exe" || fail "foreign_profile_win_test"
echo "foreign profile: passed"
