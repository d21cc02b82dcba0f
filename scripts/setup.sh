#!/usr/bin/env bash
# Installs what the build and the tests need on a fresh Debian 12 machine.
# Idempotent: a machine that has everything costs a few seconds.
set -euo pipefail

# It installs Debian packages, so it needs root: a user who is not root is
# asked for sudo here, so that one command line works with and without it.
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    exec sudo bash "$0" "$@"
  fi
  echo "setup.sh: run as root (it installs Debian packages), or install sudo" >&2
  exit 1
fi

packages=(
  cmake ninja-build g++ clang libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 wine32:i386 qemu-user-static binfmt-support
  xvfb xauth x11-utils imagemagick libtomlplusplus-dev osslsigncode openssl
  libdeflate-dev libcli11-dev nlohmann-json3-dev nsis curl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup.sh: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# 32-bit Wine runs only through qemu-user where the kernel cannot execute
# 32-bit ELF programs; the registration is lost at every boot.
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  mountpoint -q /proc/sys/fs/binfmt_misc || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      > /proc/sys/fs/binfmt_misc/register
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 || { echo "setup.sh: 32-bit Wine still cannot start" >&2; exit 1; }
fi
# Debian ships no MinGW libdeflate: vpack.exe compiles Debian's source of the
# host's version, fetched once and checked against its pinned checksum.
. "$(dirname "$0")/libdeflate-source.env"
tarball="$LIBDEFLATE_CACHE/$(basename "$LIBDEFLATE_URL")"
if ! echo "$LIBDEFLATE_SHA256  $tarball" | sha256sum --check --status 2>/dev/null; then
  echo "setup.sh: fetching $LIBDEFLATE_URL"
  mkdir -p "$LIBDEFLATE_CACHE"
  curl -fsS -o "$tarball.part" "$LIBDEFLATE_URL"
  if ! echo "$LIBDEFLATE_SHA256  $tarball.part" | sha256sum --check --status; then
    rm -f "$tarball.part"
    echo "setup.sh: $LIBDEFLATE_URL does not have the pinned SHA-256 $LIBDEFLATE_SHA256" >&2
    exit 1
  fi
  mv "$tarball.part" "$tarball"
fi
echo "setup.sh: ready"
