#!/usr/bin/env bash
# Mounts or unmounts a small tmpfs volume for tests that need a disk too small for a package
# (the Windows tests under Wine, where free space is what the volume reports). CTest runs
# "mount" as a fixture set-up and "umount" as its clean-up. Mounting needs root; without it
# the folder stays an ordinary folder without the marker file and the tests skip.
#   small_volume_ctl.sh mount FOLDER BYTES   -> FOLDER/.small-volume exists once mounted
#   small_volume_ctl.sh umount FOLDER
set -uo pipefail
action=${1:?mount or umount}
folder=${2:?folder}
case "$action" in
  mount)
    size=${3:?size in bytes}
    "$0" umount "$folder"
    mkdir -p "$folder"
    if mount -t tmpfs -o "size=$size,mode=0777" pindle-small-volume "$folder" 2>/dev/null; then
      touch "$folder/.small-volume"
    else
      echo "small volume not mounted (needs root); its tests will skip" >&2
    fi
    exit 0
    ;;
  umount)
    if mountpoint -q "$folder" 2>/dev/null; then
      umount "$folder" || umount -l "$folder"
    fi
    exit 0
    ;;
  *)
    echo "usage: $0 mount FOLDER BYTES | umount FOLDER" >&2
    exit 2
    ;;
esac
