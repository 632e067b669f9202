#!/usr/bin/env bash
# Package digest benchmark: the MD5 of a 512 MiB package file by package_md5_bench.exe (the
# install steps' FileMd5: BCrypt, streamed through a small buffer) under Wine, against Debian's
# md5sum on the same file, in the same run. Best of RUNS for each; the file is read once before
# timing so both find it in the page cache. Prints both figures, the ratio, and checks that the
# digests agree.
#
#   bench/md5_bench.sh WINDOWS_BUILD_TREE [WORK_FOLDER] [RUNS]
set -euo pipefail
tree=$(cd "$1" && pwd)
work=${2:-$tree/bench-md5}
runs=${3:-3}
mkdir -p "$work"
work=$(cd "$work" && pwd)
bench=$tree/bench/package_md5_bench.exe
[ -f "$bench" ] || { echo "build it first: cmake --build $tree --target package_md5_bench" >&2; exit 1; }

file=$work/package.bin
if [ ! -f "$file" ] || [ "$(stat -c %s "$file")" != $((512 << 20)) ]; then
  head -c $((512 << 20)) /dev/urandom >"$file.part"
  mv "$file.part" "$file"
fi
cat "$file" >/dev/null

# Wine as the tree's CTest wrapper sets it up; one wineserver stays up for all runs.
bash "$tree/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
windows_file="Z:${file//\//\\}"
ours=$(bash "$tree/wine-run.sh" "$bench" "$windows_file" "$runs" 2>/dev/null | tr -d '\r')

best=
for _ in $(seq 1 "$runs"); do
  start=$(date +%s.%N)
  theirs=$(md5sum "$file" | cut -d' ' -f1)
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc -l)
  if [ -z "$best" ] || [ "$(echo "$seconds < $best" | bc -l)" = 1 ]; then best=$seconds; fi
done
md5sum_rate=$(echo "512 / $best" | bc -l)

read -r our_digest our_seconds _ our_rate _ <<<"$ours"
printf 'FileMd5 under Wine: %.3f s, %.1f MiB/s\n' "$our_seconds" "$our_rate"
printf 'md5sum (native):    %.3f s, %.1f MiB/s\n' "$best" "$md5sum_rate"
printf 'ratio: %.2f x md5sum\n' "$(echo "$our_rate / $md5sum_rate" | bc -l)"
[ "$our_digest" = "$theirs" ] || { echo "digests differ: $our_digest vs $theirs" >&2; exit 1; }
echo "digests agree: $theirs"
