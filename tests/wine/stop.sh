#!/usr/bin/env bash
# Ends the wineserver and the X server that start.sh left running.
state=$(realpath -m "$1")
export WINEPREFIX="$state/prefix"
wineserver -k 2>/dev/null || true
for f in wineserver xvfb; do
  if [ -f "$state/$f.pid" ]; then
    kill "$(cat "$state/$f.pid")" 2>/dev/null || true
    rm -f "$state/$f.pid"
  fi
done
exit 0
