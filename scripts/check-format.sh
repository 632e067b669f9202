#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what clang-format makes of it (house
# style in .clang-format), and names each such file. Usage: check-format.sh [--fix]
set -uo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = --fix ] && fix=1
bad=0
while IFS= read -r f; do
  [ -f "$f" ] || continue
  if [ "$fix" = 1 ]; then
    clang-format -i "$f"
  elif ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "format: $f differs from .clang-format (fix: bash scripts/check-format.sh --fix)"
    bad=1
  fi
done < <(git ls-files --cached --others --exclude-standard '*.c' '*.cc' '*.cpp' '*.h')
exit $bad
