#!/usr/bin/env bash
# Packs every sample manifest with the x86_64 stub, and the standalone one
# with the i686 stub as well, unsigned and signed by pack's --sign-command
# (osslsigncode, after the payload is appended), with a certificate made
# here for the purpose. The signature then follows the payload's
# trailer, so the stub has to find its payload by scanning.
#   make-signed.sh OUT_DIR VPACK WIN_BUILD
set -euo pipefail
out=$1 vpack=$2 win=$3
root="$(cd "$(dirname "$0")/../.." && pwd)"
rm -rf "$out"
mkdir -p "$out"
# The sample with the program files of one build (scripts/copy-runtime.sh):
# tour for x86_64, tour-i686.
copy_tour() {
  cp -r "$root/sample/tour" "$out/$1"
  bash "$root/scripts/copy-runtime.sh" "$2" "$out/$1/runtime/try"
}
copy_tour tour "$win"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vandrel Test Publisher" \
  -keyout "$out/key.pem" -out "$out/cert.pem" 2>/dev/null
# pack_and_sign MANIFEST NAME STUB_FOLDER
pack_and_sign() {
  local manifest=$1 name=$2
  # The folder: vpack picks the stub variant the project type needs.
  "$vpack" pack "$manifest" -o "$out/$name.exe" --stub "$3" >/dev/null
  # Signed by pack itself, as a publisher's build would; the same payload.
  "$vpack" pack "$manifest" -o "$out/$name-signed.exe" --stub "$3" >/dev/null --sign-command \
    "osslsigncode sign -certs '$out/cert.pem' -key '$out/key.pem' -n 'Harbour Tour' -in {in} -out {out}"
  # The trailer must no longer be the file's last bytes, or the test proves
  # nothing about the scan.
  if cmp -s <(tail -c 4 "$out/$name.exe") <(tail -c 4 "$out/$name-signed.exe"); then
    echo "make-signed.sh: $name-signed.exe still ends with its trailer" >&2
    exit 1
  fi
}
for manifest in "$out"/tour/*.toml; do
  pack_and_sign "$manifest" "$(basename "$manifest" .toml)" "$win/app"
done
# The release build's stub, branded and signed, for one run under 32-bit Wine.
win32="$(dirname "$win")/win-i686"
copy_tour tour-i686 "$win32"
pack_and_sign "$out/tour-i686/standalone.toml" standalone-i686 "$win32/app"
echo "make-signed.sh: signed installers in $out"
