#!/usr/bin/env bash
# Re-creates resources/images/*.png and the program icon from the vector sources in resources/images/src.
# Arguments go to make_art.py (--check, or image names). Needs Debian's python3-cairo, python3-numpy and
# python3-pil; installs them when missing and run as root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# Debian's own interpreter: the packages above install for it, not for a python3 that PATH may put first.
python=/usr/bin/python3
packages=(python3 python3-cairo python3-numpy python3-pil)
if ! "$python" -c 'import cairo, numpy, PIL' 2>/dev/null; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "make_art.sh: needs ${packages[*]} (apt-get install them as root)" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${packages[@]}"
fi
exec "$python" "$here/make_art.py" "$@"
