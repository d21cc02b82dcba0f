#!/usr/bin/env bash
# The main job, end to end: builds, packs the sample tour into an installer,
# checks it and runs it under Wine.
#
#   bash scripts/demo.sh [--arch i686|x86_64] [--manifest FILE]
#
# With a display and a terminal the installer runs on that display for you to
# click through; otherwise DemoDriver.exe runs it on the test display,
# answers its dialogs and leaves screenshots in build/demo/shots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

arch=x86_64
manifest=sample/tour/run-in-place.toml
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) arch=${2:?--arch needs a value}; shift 2 ;;
    --arch=*) arch=${1#--arch=}; shift ;;
    --manifest) manifest=${2:?--manifest needs a value}; shift 2 ;;
    --manifest=*) manifest=${1#--manifest=}; shift ;;
    -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
    *) echo "demo.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
case "$arch" in i686|x86_64) ;; *) echo "demo.sh: --arch is i686 or x86_64" >&2; exit 2 ;; esac
[ -f "$manifest" ] || { echo "demo.sh: no manifest $manifest" >&2; exit 2; }

out=$root/build/demo
state=$root/build/wine
win_build=$root/build/win-$arch
installer=$out/tour-setup.exe
# 32-bit processes start under emulation here, about a minute each.
timeout=180
[ "$arch" = i686 ] && timeout=900

say() { echo "demo.sh: $*"; }

# What the build needs, as scripts/test.sh installs it: the Debian packages
# and libdeflate's source. Only root can; anyone else is told what to run.
setup() {
  if [ "$(id -u)" -eq 0 ]; then
    say "setting up (log: build/demo/setup.log)"
    mkdir -p "$out"
    bash "$root/scripts/setup.sh" >"$out/setup.log" 2>&1 || { tail -20 "$out/setup.log" >&2; return 1; }
  elif ! command -v i686-w64-mingw32-g++-posix >/dev/null || ! command -v wine >/dev/null; then
    say "the build's packages are missing: run 'sudo bash scripts/setup.sh' first" >&2
    return 1
  fi
}

build() {
  say "building (log: build/demo/build.log)"
  local log
  log=$(mktemp)
  if ! { cmake --preset default && cmake --build --preset default; } >"$log" 2>&1; then
    tail -40 "$log" >&2
    mkdir -p "$out" && mv "$log" "$out/build.log"
    say "build failed" >&2
    return 1
  fi
  mkdir -p "$out" && mv "$log" "$out/build.log" && chmod 644 "$out/build.log"
}

# The program files the manifest takes from the build, of the stub's
# machine (scripts/copy-runtime.sh); the folder is ignored by git.
copy_runtime() {
  bash "$root/scripts/copy-runtime.sh" "$win_build" "$(dirname "$manifest")/runtime/try"
}

pack() {
  mkdir -p "$out"
  rm -f "$installer"
  build/vpack/vpack pack "$manifest" -o "$installer" --stub "$win_build/app"
  build/vpack/vpack verify "$installer"
}

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

# The display decides whose fixture it is: the wineserver comes and goes
# with the Wine programs of whoever else uses the prefix.
started_fixture=0
start_fixture() {
  if alive "$state/xvfb.pid"; then
    say "using the Wine display that is already running"
  else
    say "starting the Wine fixture (the first prefix takes a few minutes)"
    started_fixture=1
  fi
  bash tests/wine/start.sh "$state"
  # The first Wine program starts the prefix's services, which stay as long as
  # the wineserver and keep the output they inherit open: given this
  # script's, a pipe such as "demo.sh | tee" would never end.
  "$state/run64" cmd.exe /c exit </dev/null >/dev/null 2>&1
}

stop_fixture() {
  if [ "$started_fixture" = 1 ]; then
    bash tests/wine/stop.sh "$state"
    started_fixture=0
  fi
}

# The stand-ins show no window of their own; their logs tell what the
# installer gave them.
use_logs() {
  rm -f "$out/viewer.log" "$out/engine.log"
  VDL_VIEWER_LOG=$(windows_path "$out/viewer.log")
  VDL_ENGINE_LOG=$(windows_path "$out/engine.log")
  export VDL_VIEWER_LOG VDL_ENGINE_LOG
}

report_logs() {
  if [ ! -s "$out/viewer.log" ]; then
    say "the viewer did not run (no build/demo/viewer.log)"
    return 0
  fi
  say "what the viewer found (build/demo/viewer.log; engine calls in build/demo/engine.log):"
  sed 's/^/  /' "$out/viewer.log"
  local folder
  folder=$(sed -n '/^Viewer folder /{s///p;q}' "$out/viewer.log" | tr -d '\r')
  [ -n "$folder" ] || return 0
  local unix
  unix=$("$state/run64" winepath -u "$folder" 2>/dev/null | tr -d '\r')
  if [ -n "$unix" ] && [ -e "$unix" ]; then
    say "the working folder $folder is still there"
  else
    say "the working folder $folder is gone, as it should be"
  fi
}

run_interactive() {
  local wine=/usr/lib/wine/wine64
  [ "$arch" = i686 ] && wine=/usr/lib/wine/wine
  say "running the installer on $DISPLAY; answer its dialogs yourself"
  local code=0
  WINEPREFIX="$state/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d" \
    "$wine" "$installer" || code=$?
  say "installer exit code: $code"
  return "$code"
}

# DemoDriver.exe is built only in the x86_64 tree; it starts an i686
# installer all the same.
run_driven() {
  local driver=$root/build/win-x86_64/demo/DemoDriver.exe
  local raw=$out/raw-shots
  rm -rf "$raw" "$out/shots"
  mkdir -p "$raw" "$out/shots"
  local code=0
  "$state/run64" "$driver" "$(windows_path "$installer")" "$(windows_path "$raw")" --timeout "$timeout" || code=$?
  convert_shots "$raw" "$out/shots"
  return "$code"
}

convert_shots() {
  local bmp count=0
  for bmp in "$1"/shot-*.bmp; do
    [ -f "$bmp" ] || continue
    convert "$bmp" "$2/$(basename "${bmp%.bmp}").png"
    count=$((count + 1))
  done
  if [ "$count" -eq 0 ]; then
    say "the installer showed no window: no screenshots"
  else
    say "$count screenshot(s) in ${2#"$root"/}/"
  fi
}

main() {
  setup
  build
  copy_runtime
  pack
  trap stop_fixture EXIT
  start_fixture
  use_logs
  local code=0
  if [ -n "${DISPLAY:-}" ] && [ -t 0 ]; then
    run_interactive || code=$?
  else
    run_driven || code=$?
  fi
  report_logs
  stop_fixture
  if [ "$code" -ne 0 ]; then
    say "failed (exit code $code)" >&2
    exit "$code"
  fi
  say "done"
}

main
