#!/usr/bin/env bash
# Starts Xvfb, makes the prefix if there is none yet, starts a wineserver.
set -euo pipefail
state=$(realpath -m "$1")
mkdir -p "$state"
export WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

if ! alive "$state/xvfb.pid"; then
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
  echo $! >"$state/xvfb.pid"
  echo ":$n" >"$state/display"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start"; cat "$state/xvfb.log"; exit 1; }
fi
export DISPLAY="$(cat "$state/display")"

if [ ! -f "$WINEPREFIX/.ready" ]; then
  # 32-bit support needs qemu registered first, or syswow64 stays empty.
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "32-bit Wine cannot start: run scripts/setup.sh"; exit 1; }
  rm -rf "$WINEPREFIX"
  echo "making the Wine prefix (a few minutes, once per build tree)"
  wineboot -i >"$state/wineboot.log" 2>&1
  # One virtual desktop: without a window manager on Xvfb, Wine then still
  # draws captions and frames, so that screenshots show what a user sees.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$state/wineboot.log" 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >>"$state/wineboot.log" 2>&1
  # A program that crashes ends, rather than waiting behind a crash dialog.
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$state/wineboot.log" 2>&1
  wineserver -w
  touch "$WINEPREFIX/.ready"
fi

if ! alive "$state/wineserver.pid"; then
  setsid wineserver -p -f >/dev/null 2>&1 </dev/null &
  echo $! >"$state/wineserver.pid"
fi
# Xvfb runs no window manager, and Wine waits 2 s for every window that a
# window manager would handle when it is hidden or destroyed (a dialog that
# closes, a message box after its OK). Unmanaged windows go at once. Set
# here rather than only with a new prefix, so that older prefixes get it too;
# asked of the saved registry first, as a new Wine process costs a second.
if ! grep -qs '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
fi
# Wine links the user's desktop and document folders to the Linux home. The
# folder browser then lists the whole home before it acts on OK, and tests
# that choose the desktop would write into the home: folders of the prefix's
# own instead.
for shell_folder in Desktop Documents Downloads Music Pictures Videos; do
  link="$WINEPREFIX/drive_c/users/$(id -un)/$shell_folder"
  if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
done
# Wine's background programs (services, the virtual desktop) start with the
# first program that needs them and inherit its output. Started here, with
# none, so that no test's output stays open after the test has ended.
/usr/lib/wine/wine64 cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
# A desktop that already runs makes this one end at once.
setsid /usr/lib/wine/wine64 explorer.exe /desktop=Default,1024x768 </dev/null >/dev/null 2>&1 &
sleep 2
echo "wine ready on $DISPLAY"
