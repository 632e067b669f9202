#!/usr/bin/env bash
# Package extraction benchmark: a ~300 MiB solid LZMA2 package unpacked
#   - by unpack7z.exe (the installer's in-process extraction) under Wine,
#   - by a 64-bit 7za.exe built from the embedded 7za's source, under Wine, with -mmt1 and by
#     default (the installer's own 32-bit 7za.exe cannot run here: this kernel starts no 32-bit
#     processes, so Wine runs 64-bit programs only),
#   - by the same in-process code built natively (POSIX files), to show what Wine costs,
#   - by Debian's native 7zz, with -mmt1 and by default,
# all in one run. Prints seconds, MiB/s of unpacked data and peak memory (max RSS) per tool.
#
#   bench/extract_bench.sh [WIN64_BUILD_TREE] [WORK_FOLDER] [RUNS]
#
# The tree must have unpack7z built (cmake --build TREE --target unpack7z). The work folder
# keeps the package and the 64-bit 7za between runs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tree=$(cd "${1:-/work/build-ex/win64}" && pwd)
work=${2:-$tree/bench-extract}
runs=${3:-3}
mkdir -p "$work"
work=$(cd "$work" && pwd)

unpack7z=$tree/tools/unpack7z/unpack7z.exe
[ -f "$unpack7z" ] || { echo "build unpack7z first: cmake --build $tree --target unpack7z" >&2; exit 1; }

# Wine exactly as the tree's CTest wrapper sets it up; one wineserver stays up for all runs.
bash "$tree/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
export WINEPREFIX=$tree/wine/prefix HOME=$tree/wine/home WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d"
wine=/usr/lib/wine/wine64
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# The package.
if [ ! -f "$work/package.7z" ]; then
  rm -rf "$work/tree"
  python3 "$here/extract_bench_data.py" "$work/tree" 300
  (cd "$work/tree" && 7zz a -bd -y -m0=LZMA2 -mx=5 -ms=on "$work/package.7z.part" . >/dev/null)
  mv "$work/package.7z.part" "$work/package.7z"
fi
unpacked=$(du -sb --apparent-size "$work/tree" | cut -f1)
packed=$(stat -c %s "$work/package.7z")
blocks=$(7zz l -slt "$work/package.7z" | sed -n 's/^Blocks = //p')
echo "package: $((packed >> 20)) MiB packed, $((unpacked >> 20)) MiB unpacked, $blocks solid block(s)"

# The 64-bit stand-in for the embedded 7za.exe, from the same Debian source the bootstrap uses.
sevenza=$work/7za-x64.exe
if [ ! -f "$sevenza" ]; then
  src=$(ls -d /var/cache/pindle-deps/src/7zip_*/7zip-*/ 2>/dev/null | head -n 1 || true)
  if [ -n "$src" ]; then
    echo "building the 64-bit 7za.exe (a few minutes)"
    rm -rf "$work/7za-src" && cp -a "$src" "$work/7za-src"
    (cd "$work/7za-src/CPP/7zip/Bundles/Alone" &&
      make -j2 -f makefile.gcc IS_MINGW=1 MSYSTEM=1 CC=x86_64-w64-mingw32-gcc-posix \
        CXX=x86_64-w64-mingw32-g++-posix RC=x86_64-w64-mingw32-windres \
        LDFLAGS_STATIC_2="-static -static-libgcc -static-libstdc++" >"$work/7za-build.log" 2>&1) &&
      cp "$(find "$work/7za-src/CPP/7zip/Bundles/Alone" -name 7za.exe | head -n 1)" "$sevenza" ||
      echo "64-bit 7za.exe could not be built (see $work/7za-build.log); its rows are skipped"
    rm -rf "$work/7za-src"
  fi
fi

# The same in-process extraction built natively over POSIX files (-O2, like the SDK library).
native=$work/extract_bench_native
src_root=$(cd "$here/.." && pwd)
deps_win64=$(sed -n 's/^PINDLE_DEPS_PREFIX:[A-Z]*=//p' "$tree/CMakeCache.txt")
deps_host=${PINDLE_DEPS_PREFIX_HOST:-$(dirname "$deps_win64")/host}
if [ -n "$deps_host" ] && [ -f "$deps_host/lib/liblzma7z.a" ]; then
  g++ -std=c++17 -O2 -DNDEBUG -DZ7_PPMD_SUPPORT -DZ7_EXTRACT_ONLY -I"$src_root" \
    -I"$deps_host/include/lzma7z" -o "$native" "$here/extract_bench_native.cc" \
    "$src_root"/extract/{unpack7z,unpack_rules,wide_text,unpack_file_system_posix}.cc \
    "$deps_host/lib/liblzma7z.a" || native=
else
  native=
fi

win() { echo "Z:$1" | tr / '\\'; }
out=$work/out

# measure LABEL COMMAND...: RUNS runs into a fresh folder; median seconds, MiB/s, max RSS.
declare -A medians
measure() {
  local label=$1; shift
  local times=() rss=() code
  for ((r = 0; r < runs; r++)); do
    rm -rf "$out" && mkdir -p "$out"
    sync
    code=0
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" >"$work/last.log" 2>&1 || code=$?
    if [ "$code" != 0 ]; then
      echo "$label failed with $code:" >&2; tail -n 20 "$work/last.log" >&2; return 1
    fi
    read -r s kb <"$work/time.txt"
    times+=("$s"); rss+=("$kb")
  done
  diff -rq "$work/tree" "$out" >/dev/null || { echo "$label: output differs from the tree" >&2; return 1; }
  local median max_rss
  median=$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p")
  max_rss=$(printf '%s\n' "${rss[@]}" | sort -g | tail -n 1)
  medians[$label]=$median
  printf '| %s | %s | %s | %d | %s |\n' "$label" "$median" \
    "$(awk -v b="$unpacked" -v s="$median" 'BEGIN { printf "%.1f", b / 1048576 / s }')" \
    $((max_rss / 1024)) "${times[*]}"
}

# What Wine itself takes, to read the Wine rows' memory against.
/usr/bin/time -f "%e %M" -o "$work/time.txt" $wine "$unpack7z" >/dev/null 2>&1 || true
read -r _ wine_kb < <(tail -n 1 "$work/time.txt")  # after "exited with non-zero status"
echo "Wine baseline (unpack7z.exe printing its usage): $((wine_kb / 1024)) MiB max RSS"

echo "| tool | median s | MiB/s | peak RSS MiB | runs (s) |"
echo "|---|---|---|---|---|"
measure "unpack7z.exe (in-process, x86-64, Wine)" $wine "$unpack7z" "$(win "$work/package.7z")" "$(win "$out")"
if [ -n "$native" ]; then
  measure "in-process, native build (POSIX files, no Wine)" "$native" "$work/package.7z" "$out"
fi
if [ -f "$sevenza" ]; then
  measure "7za.exe -mmt1 (x86-64 stand-in, Wine)" $wine "$sevenza" x -y "$(win "$work/package.7z")" "-o$(win "$out")" -r -mmt1
  measure "7za.exe default (x86-64 stand-in, Wine)" $wine "$sevenza" x -y "$(win "$work/package.7z")" "-o$(win "$out")" -r
fi
measure "7zz -mmt1 (native)" 7zz x -bd -y "$work/package.7z" "-o$out" -mmt1
measure "7zz default (native)" 7zz x -bd -y "$work/package.7z" "-o$out"
rm -rf "$out"
inproc=${medians["unpack7z.exe (in-process, x86-64, Wine)"]}
for label in "${!medians[@]}"; do
  [[ $label == unpack7z* ]] && continue
  awk -v a="${medians[$label]}" -v b="$inproc" -v l="$label" \
    'BEGIN { printf "in-process speed / speed of %s: %.2fx\n", l, a / b }'
done | sort
echo "load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
