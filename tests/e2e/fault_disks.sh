#!/usr/bin/env bash
# The host side of the end-to-end fault tests, run by CTest before and after them:
#   fault_disks.sh setup|cleanup DRIVE MOUNT_DIR SCRATCH_DIR
# setup mounts a 1 MiB tmpfs at MOUNT_DIR and maps it as the drive DRIVE (e.g. t:) of the prefix
# $WINEPREFIX, so that a copy onto it runs out of room for real; and writes 1 GiB of random bytes
# to SCRATCH_DIR/one-gib.bin, real data on disk for a long copy to stop in the middle of.
# Mounting needs root: without it the drive is left out and the full-disk test skips.
set -u
action=$1 drive=$2 mount_dir=$3 scratch=$4
: "${WINEPREFIX:?}"
link="$WINEPREFIX/dosdevices/${drive,,}"

release() {
  rm -f "$link"
  if mountpoint -q "$mount_dir"; then umount "$mount_dir" || exit 1; fi
  rm -rf "$scratch"
}

case $action in
  setup)
    release
    "$(dirname "$0")/../../scripts/wine-prefix" >/dev/null || exit 1
    mkdir -p "$mount_dir" "$scratch" || exit 1
    if mount -t tmpfs -o size=1m,mode=0777 tavrel-full-disk "$mount_dir" 2>/dev/null; then
      ln -s "$mount_dir" "$link" || exit 1
    else
      echo "fault_disks: cannot mount a tmpfs here (not root?); the full-disk test will skip"
    fi
    dd if=/dev/urandom of="$scratch/one-gib.bin" bs=1M count=1024 status=none || exit 1
    ;;
  cleanup) release ;;
  *) echo "usage: $0 setup|cleanup DRIVE MOUNT_DIR SCRATCH_DIR" >&2; exit 2 ;;
esac
