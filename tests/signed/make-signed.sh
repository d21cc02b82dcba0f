#!/usr/bin/env bash
# Packs every sample manifest with the x86_64 stub and signs the installers
# as a publisher would, after the payload is appended, with a certificate
# made here for the purpose. The signature then follows the payload's
# trailer, so the stub has to find its payload by scanning.
#   make-signed.sh OUT_DIR VPACK WIN_BUILD
set -euo pipefail
out=$1 vpack=$2 win=$3
root="$(cd "$(dirname "$0")/../.." && pwd)"
rm -rf "$out"
mkdir -p "$out"
cp -r "$root/sample/tour" "$out/tour"
mkdir -p "$out/tour/runtime/build"
cp "$win/standins/engine/Tessaron.dll" "$win/standins/viewer/VandrelViewer.exe" \
   "$win/standins/uninstaller/VDLUnInst.exe" "$out/tour/runtime/build/"
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vandrel Test Publisher" \
  -keyout "$out/key.pem" -out "$out/cert.pem" 2>/dev/null
for manifest in "$out"/tour/*.toml; do
  name=$(basename "$manifest" .toml)
  # The folder: vpack picks the stub variant the project type needs.
  "$vpack" pack "$manifest" -o "$out/$name.exe" --stub "$win/app"
  osslsigncode sign -certs "$out/cert.pem" -key "$out/key.pem" -n "Harbour Tour" \
    -in "$out/$name.exe" -out "$out/$name-signed.exe" >/dev/null
  # The trailer must no longer be the file's last bytes, or the test proves
  # nothing about the scan.
  if cmp -s <(tail -c 4 "$out/$name.exe") <(tail -c 4 "$out/$name-signed.exe"); then
    echo "make-signed.sh: $name-signed.exe still ends with its trailer" >&2
    exit 1
  fi
done
echo "make-signed.sh: signed installers in $out"
