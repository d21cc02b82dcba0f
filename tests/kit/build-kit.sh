#!/usr/bin/env bash
# Builds the release kit into an empty folder as a release is made (CPack,
# from a finished build), checks what a publisher receives, and packs every
# sample from the unpacked kit with nothing but its contents and the
# stand-in programs, put where the samples say the publisher's go.
#   build-kit.sh BUILD_DIR OUT_DIR VERSION
set -euo pipefail
build=$1 out=$(realpath -m "$2") version=$3
root="$(cd "$(dirname "$0")/../.." && pwd)"
fail() { echo "build-kit.sh: $*" >&2; exit 1; }
rm -rf "$out"
mkdir -p "$out"
name="vandrel-kit-$version-linux-x86_64"
cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
(cd "$out" && sha256sum --quiet -c "$name.tar.gz.sha256") || fail "the archive does not match its checksum file"
tar -xzf "$out/$name.tar.gz" -C "$out"
kit="$out/$name"
(cd "$kit" && sha256sum --quiet -c SHA256SUMS) || fail "a file of the kit does not match SHA256SUMS"
# Nothing a clean machine may lack: glibc only.
others=$(ldd "$kit/bin/vpack" | grep -vE 'linux-vdso|libc\.so|libm\.so|ld-linux' || true)
[ -z "$others" ] || fail "the kit's vpack needs shared libraries: $others"
[ "$("$kit/bin/vpack" --version)" = "vpack $version" ] || fail "vpack --version is not $version"
for f in bin/vpack stubs/VandrelStub.exe stubs/VandrelStubAdmin.exe docs/manifest.md docs/hardening.md \
    docs/getting-started.md samples/tour/standalone.toml samples/tour/shared/runtime.toml; do
  [ -f "$kit/$f" ] || fail "the kit lacks $f"
done
# The stand-ins stay out: the only programs are vpack and the stubs.
strays=$(find "$kit" -type f \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.scr' \) ! -path "$kit/stubs/*")
[ -z "$strays" ] || fail "the kit carries programs besides its stubs: $strays"
# The publisher's engine, viewer and uninstaller, of the stubs' machine.
bash "$root/scripts/copy-runtime.sh" "$build/win-i686" "$kit/samples/tour/runtime/build"
cd "$out"
for manifest in "$kit"/samples/tour/*.toml; do
  sample=$(basename "$manifest" .toml)
  # No --stub: vpack takes the stubs of its own kit.
  "$kit/bin/vpack" pack "$manifest" -o "$sample.exe" >/dev/null
  "$kit/bin/vpack" verify "$sample.exe" >/dev/null
  from_kit=no
  for stub in "$kit"/stubs/*.exe; do
    cmp -s -n "$(stat -c %s "$stub")" "$stub" "$sample.exe" && from_kit=yes
  done
  # The branded sample's stub carries the publisher's icon: not the bytes.
  grep -q '^\[branding\]' "$manifest" || [ $from_kit = yes ] || fail "$sample.exe does not begin with a kit stub"
done
echo "build-kit.sh: $name packs $(ls "$kit"/samples/tour/*.toml | wc -l) samples"
