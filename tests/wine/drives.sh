#!/usr/bin/env bash
# Two small file systems for the tests of installations that cannot be
# written, mapped as drives of the test prefix:
#   R:  a 1 MiB tmpfs, which a project fills
#   S:  a read-only tmpfs that holds one folder, "Locked"
# Mounting needs root. Where it is refused, the drives are left out and the
# tests that need them say that they were skipped.
#   drives.sh mount|unmount STATE
set -uo pipefail
action=$1
state=$(realpath -m "$2")
devices="$state/prefix/dosdevices"
full="$state/drives/full"
locked="$state/drives/locked"

unmount() {
  rm -f "$devices/r:" "$devices/s:"
  for point in "$full" "$locked"; do
    mountpoint -q "$point" && umount "$point"
  done
  return 0
}

if [ "$action" = unmount ]; then
  unmount
  exit 0
fi

unmount
mkdir -p "$full" "$locked" "$devices"
if ! mount -t tmpfs -o size=1m,mode=0777 vdl-full "$full" 2>/dev/null ||
   ! mount -t tmpfs -o size=64k,mode=0777 vdl-locked "$locked" 2>/dev/null; then
  echo "drives.sh: cannot mount tmpfs here; the full-disk and read-only tests will be skipped"
  unmount
  exit 0
fi
mkdir "$locked/Locked"
mount -o remount,ro "$locked"
ln -s "$full" "$devices/r:"
ln -s "$locked" "$devices/s:"
echo "drives R: (1 MiB) and S: (read-only) ready"
