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

# Every layer mounted at a point, even one left by an earlier run; a busy
# one is detached lazily rather than left in place.
unmount() {
  rm -f "$devices/r:" "$devices/s:"
  for point in "$full" "$locked"; do
    while mountpoint -q "$point"; do
      umount "$point" 2>/dev/null || umount -l "$point" || { echo "drives.sh: cannot unmount $point"; return 1; }
    done
  done
  return 0
}

skip() {
  echo "drives.sh: $1; the full-disk and read-only tests will be skipped"
  unmount
  exit 0
}

if [ "$action" = unmount ]; then
  unmount
  exit
fi

unmount || skip "an earlier drive is still mounted"
mkdir -p "$full" "$locked" "$devices"
mount -t tmpfs -o size=1m,mode=0777 vdl-full "$full" 2>/dev/null || skip "cannot mount tmpfs here"
mount -t tmpfs -o size=64k,mode=0777 vdl-locked "$locked" 2>/dev/null || skip "cannot mount tmpfs here"
mkdir "$locked/Locked" || skip "cannot make the folder of the read-only drive"
mount -o remount,ro "$locked" || skip "cannot make the drive read-only"
ln -s "$full" "$devices/r:"
ln -s "$locked" "$devices/s:"
echo "drives R: (1 MiB) and S: (read-only) ready"
