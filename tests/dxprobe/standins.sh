#!/usr/bin/env bash
# The DirectX probe over stand-in system modules: a DirectDraw that loads but
# fails at one step, and modules without the entry points the probe looks
# up. Stand-ins must replace the files in the system folder, which the probe
# loads by full path, so this runs in a copy of the shared prefix (hard links,
# registry files copied), removed however the script ends.
# Usage: standins.sh WINE_STATE DX_PROBE STANDIN_DDRAW STANDIN_NOENTRY
set -uo pipefail
state=$1 probe=$2 ddraw=$3 noentry=$4
copy=$(mktemp -d "${TMPDIR:-/tmp}/vdl-dxprobe.XXXXXX")
export WINEPREFIX="$copy/prefix" WINEDEBUG=-all
cleanup() {
  wineserver -k >/dev/null 2>&1
  rm -rf "$copy"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
cp -al "$state/prefix" "$WINEPREFIX" || exit 1
for registry in "$WINEPREFIX"/*.reg; do cp --remove-destination "$state/prefix/${registry##*/}" "$registry"; done
system="$WINEPREFIX/drive_c/windows/system32"

# Puts a stand-in in place of a system module, unlinked from the shared copy.
place() { rm -f "$system/$2" && cp "$1" "$system/$2"; }

failures=0
# check OVERRIDES FAIL_STEP EXPECTED: the probe's output, lines joined by |.
check() {
  local got
  got=$(VDL_DDRAW_FAIL=$2 WINEDLLOVERRIDES="$1;winealsa.drv=d" /usr/lib/wine/wine64 "$probe" 2>/dev/null |
    tr -d '\r' | paste -sd '|')
  if [ "$got" != "$3" ]; then
    echo "FAIL ($1, $2): expected '$3', got '$got'"
    failures=$((failures + 1))
  else
    echo "ok   ($1, $2): $got"
  fi
}

place "$ddraw" ddraw.dll
check ddraw=n create 'line Couldn'"'"'t create DDraw\r\n|code 0x0'
check ddraw=n ddraw2 'line Couldn'"'"'t QI DDraw2\r\n|code 0x100'
check ddraw=n coop 'line Couldn'"'"'t Set coop level\r\n|code 0x0'
check ddraw=n surface 'line Couldn'"'"'t CreateSurface\r\n|code 0x0'
check ddraw=n surface3 'code 0x300'
check ddraw=n surface4 'code 0x500'
check ddraw=n ex 'code 0x601'
check ddraw=n '' 'code 0x801'
place "$noentry" dinput.dll
check 'ddraw=n;dinput=n' '' 'line Couldn'"'"'t GetProcAddress DInputCreate\r\n|code 0x200'
place "$noentry" ddraw.dll
check ddraw=n '' 'line Couldn'"'"'t LoadLibrary DDraw\r\n|code 0x0'
[ "$failures" -eq 0 ]
