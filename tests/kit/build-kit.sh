#!/usr/bin/env bash
# Builds the release kit into an empty folder as a release is made (CPack,
# from a finished build), checks what a publisher receives, and packs every
# sample from the unpacked kit with nothing but its contents and the
# stand-in programs, put where the samples say the publisher's go: with the
# kit's vpack, and with its vpack.exe under Wine (the wine fixture's), which
# must write the same bytes.
#   build-kit.sh BUILD_DIR OUT_DIR VERSION
set -euo pipefail
build=$1 out=$(realpath -m "$2") version=$3
root="$(cd "$(dirname "$0")/../.." && pwd)"
fail() { echo "build-kit.sh: $*" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
name="vandrel-kit-$version"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
(cd "$out" && sha256sum --quiet -c "$name.tar.gz.sha256") || fail "the archive does not match its checksum file"
(cd "$out" && sha256sum --quiet -c "$name.zip.sha256") || fail "the zip does not match its checksum file"
files() { grep -v '/$' | sort; }
[ "$(cmake -E tar tf "$out/$name.zip" | files)" = "$(tar -tzf "$out/$name.tar.gz" | files)" ] ||
  fail "the zip and the tar.gz hold other files"
mkdir "$out/from-zip"
(cd "$out/from-zip" && cmake -E tar xf "$out/$name.zip" && cd "$name" && sha256sum --quiet -c SHA256SUMS) ||
  fail "a file of the zip does not match SHA256SUMS"
tar -xzf "$out/$name.tar.gz" -C "$out"
kit="$out/$name"
(cd "$kit" && sha256sum --quiet -c SHA256SUMS) || fail "a file of the kit does not match SHA256SUMS"
# Nothing a clean machine may lack, not even this machine's glibc: a static
# program (no dynamic section, or one that names no library but the loader).
needed=$(readelf -d "$kit/bin/vpack" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | grep -v '^ld-linux' || true)
[ -z "$needed" ] || fail "the kit's vpack needs shared libraries: $needed"
[ "$("$kit/bin/vpack" --version)" = "vpack $version" ] || fail "vpack --version is not $version"
# vpack.exe: only DLLs every Windows has, no MinGW runtime.
dlls=$(x86_64-w64-mingw32-objdump -p "$kit/bin/vpack.exe" | sed -n 's/^\s*DLL Name: //p' |
  grep -viE '^(kernel32|msvcrt|user32|advapi32|shell32|ws2_32|api-ms-win-crt-[a-z0-9-]+)\.dll$' || true)
[ -z "$dlls" ] || fail "the kit's vpack.exe needs DLLs a clean Windows lacks: $dlls"
wvpack() { LANG=C.UTF-8 "$build/wine/run64" "$kit/bin/vpack.exe" "$@"; }
[ "$(wvpack --version)" = "vpack $version" ] || fail "vpack.exe --version is not $version"
for f in README.md bin/vpack bin/vpack.exe stubs/VandrelStub.exe stubs/VandrelStubAdmin.exe docs/manifest.md \
    docs/hardening.md docs/getting-started.md docs/vpack.md docs/unattended.md docs/upgrades.md docs/runtime.md \
    share/man/man1/vpack.1 \
    samples/tour/standalone.toml samples/tour/shared/runtime.toml texts/template.toml texts/fr.toml texts/de.toml \
    texts/es.toml texts/ja.toml texts/zh-CN.toml; do
  [ -f "$kit/$f" ] || fail "the kit lacks $f"
done
# The documents speak to a publisher holding the kit, not of a build tree.
tree=$(grep -rnE 'build/(vpack|win-)|sample/tour|scripts/|cmake/' "$kit/README.md" "$kit/docs" "$kit/samples" || true)
[ -z "$tree" ] || fail "the kit's documents speak of the build tree: $tree"
# One reference page: vpack help prints the kit's, and its manual page reads.
"$kit/bin/vpack" help | cmp -s - "$kit/docs/vpack.md" || fail "vpack help is not the kit's docs/vpack.md"
[ -z "$(groff -man -ww -z "$kit/share/man/man1/vpack.1" 2>&1)" ] || fail "the manual page has roff errors"
# The programs are vpack, the stubs and the try-out runtime the samples
# take, which is of the stubs' machine and the one viewer that says it ran.
strays=$(find "$kit" -type f \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.scr' \) ! -path "$kit/stubs/*" \
  ! -path "$kit/bin/vpack.exe" ! -path "$kit/samples/tour/runtime/try/*")
[ -z "$strays" ] || fail "the kit carries programs besides vpack.exe, its stubs and the try-out runtime: $strays"
for f in Tessaron.dll VandrelViewer.exe VDLUnInst.exe VDLSvr.scr WinAmp.dll channel-modules/TourFade.dll; do
  [ -f "$kit/samples/tour/runtime/try/$f" ] || fail "the kit's try-out runtime lacks $f"
  file -b "$kit/samples/tour/runtime/try/$f" | grep -q 'Intel 80386' || fail "the try-out $f is not of the stubs' machine"
done
cmp -s "$kit/samples/tour/runtime/try/VandrelViewer.exe" "$build/win-i686/standins/viewer/try/VandrelViewer.exe" ||
  fail "the kit's viewer is not the try-out viewer"
cd "$out"
for manifest in "$kit"/samples/tour/*.toml; do
  sample=$(basename "$manifest" .toml)
  # No --stub: vpack takes the stubs of its own kit.
  "$kit/bin/vpack" pack "$manifest" -o "$sample.exe" >/dev/null
  "$kit/bin/vpack" verify "$sample.exe" >/dev/null
  # The Windows path of the manifest, as a publisher on Windows gives it.
  wvpack pack "$(printf 'Z:%s' "$manifest" | tr / '\\')" -o "$sample-windows.exe" >/dev/null ||
    fail "the kit's vpack.exe cannot pack $sample"
  cmp "$sample.exe" "$sample-windows.exe" || fail "$sample: the kit's vpack.exe wrote other bytes than its vpack"
  from_kit=no
  for stub in "$kit"/stubs/*.exe; do
    cmp -s -n "$(stat -c %s "$stub")" "$stub" "$sample.exe" && from_kit=yes
  done
  # The stubs' own version, where the publisher's branding gives none.
  if ! grep -q '^\[branding\]' "$manifest"; then
    listing=$("$kit/bin/vpack" list "$sample.exe")
    grep -qx "version: file $version.0, product $version.0" <<<"$listing" ||
      fail "$sample.exe does not carry the stubs' version $version"
  fi
  # The branded sample's stub carries the publisher's icon: not the bytes.
  grep -q '^\[branding\]' "$manifest" || [ $from_kit = yes ] || fail "$sample.exe does not begin with a kit stub"
done
# Both programs take the kit's translations from beside their bin/, as they
# take its stubs; Japanese goes into an installer of the Western page.
printf 'include = "%s"\ntexts = "ja"\n' "$kit/samples/tour/standalone.toml" >japanese.toml
"$kit/bin/vpack" pack japanese.toml -o japanese.exe >/dev/null || fail "the kit's vpack cannot take its Japanese texts"
wvpack pack japanese.toml -o japanese-windows.exe >/dev/null || fail "the kit's vpack.exe cannot take its Japanese texts"
cmp japanese.exe japanese-windows.exe || fail "the kit's vpack.exe wrote other texts than its vpack"
# Each listing is read whole before it is searched: a search that stops at
# its first match closes the pipe, and under pipefail the lister's next
# write (a signal) would fail the check on a good installer.
listing=$("$kit/bin/vpack" list japanese.exe)
grep -qx 'text: ja dialog.cancel = "キャンセル"' <<<"$listing" ||
  fail "japanese.exe does not carry the kit's Japanese texts"
# Every code page by the same tables: a file named with the letters of each,
# 1258's split ones too, packed by both programs into the same bytes and
# listed with the same names.
mkdir -p pages
for page in 874 1250 1251 1252 1253 1254 1255 1256 1257 1258; do
  mkdir -p "pages/$page"
  letters=$(printf '%b' "$(printf '\\x%x' $(seq 192 254))" | iconv -f "CP$page" -t UTF-8 -c | tr -d '\n/\\:*?"<>|')
  [ "$page" = 1258 ] && letters="${letters}ếỗ"
  printf x >"pages/$page/$letters.vdl"
  printf x >"pages/$page/VDLStart.vdl"
  printf 'include = "%s"\ncode-page = %s\n[settings]\nProjectType = 1\nCheckDx8 = false\n[[folder]]\nsource = "%s"\n[[file]]\nname = "VandrelViewer.exe"\nsource = "%s"\n' \
    "$kit/samples/tour/shared/runtime.toml" "$page" "$page" "$kit/samples/tour/runtime/try/VandrelViewer.exe" \
    >"pages/$page.toml"
  "$kit/bin/vpack" pack "pages/$page.toml" -o "pages/$page.exe" >/dev/null || fail "vpack cannot pack code page $page"
  wvpack pack "$(printf 'Z:%s' "$out/pages/$page.toml" | tr / '\\')" -o "pages/$page-windows.exe" >/dev/null ||
    fail "vpack.exe cannot pack code page $page"
  cmp -s "pages/$page.exe" "pages/$page-windows.exe" || fail "code page $page: vpack.exe wrote other bytes than vpack"
  listing=$("$kit/bin/vpack" list "pages/$page.exe")
  [ "$listing" = "$(wvpack list "pages/$page.exe" | tr -d '\r')" ] ||
    fail "code page $page: vpack.exe lists other names than vpack"
  grep -qF "$letters.vdl" <<<"$listing" || fail "code page $page: list does not show $letters.vdl"
done
# Signed as a publisher's pipeline signs, verified, and run once under
# Wine on the test display (the release stub: 32-bit Wine).
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vandrel Kit Test" -keyout key.pem -out cert.pem \
  2>/dev/null
"$kit/bin/vpack" pack "$kit/samples/tour/run-in-place.toml" -o signed.exe >/dev/null \
  --sign-command "osslsigncode sign -certs cert.pem -key key.pem -n Tour -in {in} -out {out}"
verdict=$("$kit/bin/vpack" verify signed.exe)
grep -q ", signed (" <<<"$verdict" || fail "the kit's signed installer does not verify as signed"
rm -f viewer.log
VDL_VIEWER_LOG="$(printf 'Z:%s' "$out/viewer.log" | tr / '\\')" "$build/wine/run64" \
  "$build/win-x86_64/demo/DemoDriver.exe" "$(printf 'Z:%s' "$out/signed.exe" | tr / '\\')" \
  "$(printf 'Z:%s' "$out" | tr / '\\')" --timeout 600 >/dev/null || fail "the kit's signed installer did not run to its end"
grep -q "^Viewer start" viewer.log || fail "the kit's signed installer did not start its viewer"
# The kit as a publisher tries it first: every sample installed and removed.
bash "$root/tests/kit/try-kit.sh" "$build" "$kit" "$out/try"
echo "build-kit.sh: $name packs $(ls "$kit"/samples/tour/*.toml | wc -l) samples, alike with vpack and vpack.exe"
