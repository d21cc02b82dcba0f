#!/usr/bin/env bash
# The kit as a publisher first tries it, with nothing but the kit: every
# sample as shipped, packed and verified with the kit's vpack, installed
# under Wine from the kit's try-out runtime (silently, and the standalone
# sample once through its dialogs, answered as a user who takes every
# default), the try-out viewer seen to run, then uninstalled, with nothing
# of the installation left: its files, its Start-menu links, its uninstall
# entry, the screen saver or the plug-in.
#   try-kit.sh BUILD_DIR KIT_DIR OUT_DIR
set -euo pipefail
build=$1 kit=$2 out=$(realpath -m "$3")
fail() { echo "try-kit.sh: $*" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
cd "$out"
run64=$build/wine/run64
prefix=$build/wine/prefix
driver=$build/win-x86_64/demo/DemoDriver.exe
win() { printf 'Z:%s' "$1" | tr / '\\'; }
drive_c=$prefix/drive_c
programs="$drive_c/users/$(id -un)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
uninstall_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Vandrel'

# A key of the 32-bit programs' registry view, as the release stub writes it.
has_key() { "$run64" reg query "$uninstall_key$1" /reg:32 >/dev/null 2>&1; }

# The stand-in uninstaller hands its work to a copy of itself and ends: the
# installation is gone once its folder is.
uninstall() {
  local folder=$1
  "$run64" "$(win "$folder/VDLUnInst.exe")" >/dev/null 2>&1 || true
  for _ in $(seq 300); do [ -e "$folder" ] || return 0; sleep 0.2; done
  fail "the uninstaller left $folder: $(find "$folder" | head -5)"
}

# The kit's example logs (docs/unattended.md, "Whole logs") are this
# script's own, with its folders for those of the example: they cannot go
# stale.
same_as_documented() {
  python3 - "$out/$1.log" "$2" "$kit/docs/unattended.md" "$(win "$out/Standalone")" "$(win "$out/Failed")" <<'PY' ||
import re, sys
log, block, page, *folders = sys.argv[1:]
shown = open(log, encoding="utf-8").read().replace("\r", "")
for folder in folders:
    shown = shown.replace(folder, "C:\\Program Files\\Harbour Tour")
shown = re.sub(r"C:\\users\\[^\\]+\\", r"C:\\Users\\ann\\", shown)
found = re.search(r"<!-- log: %s -->\n```text\n(.*?)```\n<!-- end -->" % block, open(page, encoding="utf-8").read(), re.S)
if found is None or found.group(1) != shown:
    sys.exit("documented:\n%s\nshown:\n%s" % (found.group(1) if found else "(no such block)", shown))
PY
    fail "the $2 log is not the one docs/unattended.md shows"
}

for manifest in "$kit"/samples/tour/*.toml; do
  sample=$(basename "$manifest" .toml)
  "$kit/bin/vpack" pack "$manifest" -o "$sample.exe" >/dev/null || fail "$sample does not pack as shipped"
  "$kit/bin/vpack" verify "$sample.exe" >/dev/null || fail "$sample does not verify"
done

# Run in place: the try-out viewer says that it ran, and on what; the
# temporary folder goes with the run.
"$run64" "$driver" "$(win "$out/run-in-place.exe")" "$(win "$out/shots")" --timeout 300 >run-in-place.txt ||
  fail "the run in place did not end: $(cat run-in-place.txt)"
grep -q "The kit's try-out viewer ran: VandrelViewer.exe VDLStart.vdl" run-in-place.txt ||
  fail "the run in place did not show that its viewer ran: $(cat run-in-place.txt)"
grep -q "installer exit code: 0" run-in-place.txt || fail "the run in place failed: $(cat run-in-place.txt)"

# Standalone, through its dialogs and then silently, each uninstalled.
"$run64" "$driver" "$(win "$out/standalone.exe")" "$(win "$out/shots")" --timeout 300 >standalone.txt ||
  fail "the standalone installation did not end: $(cat standalone.txt)"
grep -q "installer exit code: 0" standalone.txt || fail "the standalone installation failed: $(cat standalone.txt)"
offered="$drive_c/Program Files/Vandrel Tours/Harbour"
[ -f "$offered/uninstall.nfo" ] || fail "the standalone installation is not in the folder it offered"
[ -f "$programs/Vandrel Tours/Harbour Tour.lnk" ] || fail "the standalone installation made no Start-menu link"
has_key "Harbour Tour" || fail "the standalone installation wrote no uninstall entry"
uninstall "$offered"
[ ! -e "$programs/Vandrel Tours" ] || fail "the uninstaller left the Start-menu folder"
! has_key "Harbour Tour" || fail "the uninstaller left the uninstall entry"

silent() {
  local sample=$1 folder=$2
  "$run64" "$out/$sample.exe" /S "/LOG=$(win "$out/$sample.log")" "/D=$(win "$folder")" ||
    fail "$sample did not install silently: $(cat "$out/$sample.log" 2>/dev/null)"
}
silent standalone "$out/Standalone"
same_as_documented standalone success
uninstall "$out/Standalone"
# A failed run, its message logged and what it made removed: a folder holds
# the name of a project file.
mkdir -p "$out/Failed/scenes/hall.vdl"
if "$run64" "$out/standalone.exe" /S "/LOG=$(win "$out/failed.log")" "/D=$(win "$out/Failed")"; then
  fail "a standalone installation with a file that cannot be written succeeded"
fi
same_as_documented failed failure
! has_key "Harbour Tour" || fail "the silent standalone installation's uninstall entry stayed"

saver="$drive_c/windows/syswow64/Harbour Tour Screen Saver.scr"
silent screensaver "$out/Saver"
[ -f "$saver" ] || fail "the screen saver is not in the system folder"
uninstall "$out/Saver"
[ ! -e "$saver" ] || fail "the uninstaller left the screen saver"
! has_key "Harbour Tour Screen Saver" || fail "the screen saver's uninstall entry stayed"

# No player is registered here: /D= names the player's folder, and the
# project goes into the manifest's StartupDirectory.
mkdir -p "$out/Player/Plugins"
"$run64" "$out/winamp-plugin.exe" /S "/LOG=$(win "$out/winamp-plugin.log")" "/D=$(win "$out/Player")" ||
  fail "the plug-in did not install silently: $(cat "$out/winamp-plugin.log" 2>/dev/null)"
plugin=$(find "$out/Player/Plugins" -name 'vis_*.dll' | head -1)
[ -n "$plugin" ] || fail "the plug-in is not in the player's folder: $(cat "$out/winamp-plugin.log")"
folder=$(sed -n 's/^Installing into: //p' "$out/winamp-plugin.log" | tr -d '\r' | head -1)
folder="$drive_c/${folder#C:\\}"
uninstall "$(printf '%s' "$folder" | tr '\\' /)"
[ ! -e "$plugin" ] || fail "the uninstaller left the plug-in"
! has_key "Harbour Tour Visuals" || fail "the plug-in's uninstall entry stayed"
echo "try-kit.sh: every sample of the kit installs from its try-out runtime and uninstalls, leaving nothing"
