#!/usr/bin/env bash
# Runs a Windows test with drive D: mapped to a folder (a fixed drive for Wine), then removes
# the mapping. Usage: with_d_drive.sh WINE_RUN WINE_ROOT PROGRAM [ARGS...]
set -u
wine_run=$1 root=$2; shift 2
"$wine_run" cmd /c exit >/dev/null 2>&1   # makes sure the prefix exists
mkdir -p "$root/d_drive"
ln -sfn "$root/d_drive" "$root/prefix/dosdevices/d:"
PINDLE_EXPECT_D_DRIVE=1 "$wine_run" "$@"
status=$?
rm -f "$root/prefix/dosdevices/d:"
exit $status
