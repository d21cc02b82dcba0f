#!/bin/sh
# An installer vpack packs for a double-byte code page, installed silently
# under a system of that code page: every name as the manifest wrote it, a
# folder and a file whose second bytes are the byte of '\' among them.
# Sourced by code-pages.sh, which sets run64, locales, machine and status.
#   packed_install LOCALE PAGE FOLDER FILE
packed_install() {
  locale=$1 page=$2 folder=$3 file=$4
  work=$tree/packed-$machine-$page
  rm -rf "$work" && mkdir -p "$work/project" "$work/install"
  "$root/scripts/copy-runtime.sh" "$winbuild" "$work/runtime/try" >/dev/null
  printf 'tour' > "$work/project/tour.cgr"
  cat > "$work/setup.toml" <<TOML
code-page = $page
include = "$root/sample/tour/shared/runtime.toml"

[vars]
runtime = "$work/runtime"

[settings]
ProjectType = 2
CheckDx8 = false
RunAfterInstall = false
InstallPath = 'C:\\Program Files\\Unused'
ShortCutName = '\\$folder\\$file'
ProjectName = '$folder $machine'

[[file]]
name = 'VandrelViewer.exe'
source = "$work/runtime/try/VandrelViewer.exe"

[[file]]
name = 'VDLUnInst.exe'
source = "$work/runtime/try/VDLUnInst.exe"

[[file]]
name = 'VDLStart.vdl'
source = "$root/sample/tour/content/VDLStart.vdl"

[[file]]
name = '$folder\\$file.cgr'
source = "$work/project/tour.cgr"
list = "project"
TOML
  if ! "$vpack" pack "$work/setup.toml" -o "$work/setup.exe" --stub "$winbuild/app" >"$work/pack.log" 2>&1; then
    cat "$work/pack.log"; echo "code-pages.sh: vpack could not pack for code page $page" >&2; status=1; return
  fi
  target="Z:$(echo "$work/install/$folder" | tr / '\\')"
  code=0
  # /D= comes last: unquoted, it runs to the end of the line.
  LOCPATH="$locales" LC_ALL="$locale.UTF-8" "$run64" "$work/setup.exe" /S \
    "/LOG=Z:$(echo "$work/setup.log" | tr / '\\')" "/D=$target" || code=$?
  for want in "$work/install/$folder/VandrelViewer.exe" "$work/install/$folder/$folder/$file.cgr"; do
    [ -f "$want" ] || { echo "code-pages.sh: code page $page: $want is missing (exit code $code)" >&2; status=1; }
  done
  # No folder on the way but the one given.
  [ "$(ls "$work/install")" = "$folder" ] || { echo "code-pages.sh: code page $page: stray folders: $(ls "$work/install")" >&2; status=1; }
  [ "$code" = 0 ] || { cat "$work/setup.log" 2>/dev/null || true; echo "code-pages.sh: code page $page: exit code $code" >&2; status=1; }
  echo "code-pages.sh: code page $page, $machine stub: packed by vpack, installed silently, exit code $code"
}
