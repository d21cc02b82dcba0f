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
  cmake ninja-build g++ clang clang-format libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 libz-mingw-w64-dev
  wine wine64 wine32:i386 qemu-user-static binfmt-support
  xvfb xauth x11-utils imagemagick libtomlplusplus-dev osslsigncode openssl
  libdeflate-dev libcli11-dev nlohmann-json3-dev nsis
  # The code-page and translation tests make their own locales from these
  # sources; the font lets their screenshots show Chinese and Japanese.
  locales fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# A mirror in sync can serve one index that does not match its release file
# for days. apt keeps the other indexes, so set-up goes on with them and says
# which one failed.
refresh_indexes() {
  local log
  log=$(mktemp)
  if apt-get update -qq 2>"$log"; then
    rm -f "$log"
    return 0
  fi
  cat "$log" >&2
  local failed
  failed=$(sed -n 's/^E: Failed to fetch [^ ]*\/dists\/\([^ ]*\).*/\1/p' "$log" | paste -sd ' ')
  rm -f "$log"
  echo "setup.sh: apt-get update could not refresh ${failed:-every index}; going on with the indexes apt has" >&2
}

# With one architecture's index stale, the plain install may find no set of
# versions that fits both architectures; the release's own suite as target
# does, since it holds the versions both were built from.
install_packages() {
  if apt-get install -y -qq --no-install-recommends "$@" >/dev/null; then
    return 0
  fi
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  if [ -z "$codename" ]; then
    echo "setup.sh: the install failed and /etc/os-release names no release to try instead; see docs/building.md" >&2
    return 1
  fi
  echo "setup.sh: the install could not be resolved; trying again with the release's own suite, $codename, as target" >&2
  if apt-get install -y -qq --no-install-recommends -t "$codename" "$@" >/dev/null; then
    echo "setup.sh: installed with $codename as target"
    return 0
  fi
  echo "setup.sh: the install failed with $codename as target too; see \"When set-up fails\" in docs/building.md" >&2
  return 1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup.sh: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  refresh_indexes
  install_packages "${missing[@]}" || exit 1
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
# host's version, fetched once with apt-get source and checked against its
# pinned checksum.
. "$(dirname "$0")/libdeflate-source.env"
tarball="$LIBDEFLATE_CACHE/$LIBDEFLATE_TARBALL"
own_sources=/etc/apt/sources.list.d/vandrel-deb-src.list

# One deb-src line for each deb entry the machine already uses, in a file of
# our own, so that apt-get source reads from the archives the packages come
# from; a machine that has source entries of its own is left as it is.
derive_source_entries() {
  local files=()
  [ -e /etc/apt/sources.list ] && files+=(/etc/apt/sources.list)
  for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && [ "$f" != "$own_sources" ] && files+=("$f")
  done
  [ ${#files[@]} -gt 0 ] || return 0
  awk '
    FNR == 1 { flush(); deb822 = (FILENAME ~ /\.sources$/) }
    !deb822 && /^[ \t]*deb[ \t]/ { sub(/^[ \t]*deb/, "deb-src"); print; next }
    !deb822 { next }
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^[A-Za-z-]+:/ { key = tolower(substr($0, 1, index($0, ":") - 1)); val = substr($0, index($0, ":") + 1)
                     gsub(/^[ \t]+|[ \t]+$/, "", val); field[key] = val; next }
    END { flush() }
    function flush(   n, uris, nsuites, suites, i, j, opts) {
      if (field["types"] ~ /(^|[ \t])deb([ \t]|$)/ && tolower(field["enabled"]) != "no") {
        opts = (field["signed-by"] ~ /^\//) ? "[signed-by=" field["signed-by"] "] " : ""
        n = split(field["uris"], uris, /[ \t]+/); nsuites = split(field["suites"], suites, /[ \t]+/)
        for (i = 1; i <= n; i++) for (j = 1; j <= nsuites; j++)
          print "deb-src " opts uris[i] " " suites[j] " " field["components"]
      }
      delete field
    }' "${files[@]}"
}

if ! echo "$LIBDEFLATE_SHA256  $tarball" | sha256sum --check --status 2>/dev/null; then
  if ! grep -qs '^[[:space:]]*\(deb-src\|Types:.*deb-src\)' /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    entries=$(derive_source_entries)
    if [ -z "$entries" ]; then
      echo "setup.sh: no deb entries to derive source entries from; add a deb-src entry for Debian 12 (see docs/building.md)" >&2
      exit 1
    fi
    echo "setup.sh: adding source entries in $own_sources"
    { echo "# Source entries for scripts/setup.sh (apt-get source), derived from this machine's deb entries"
      echo "$entries"; } > "$own_sources"
    # An index that fails to refresh need not be the sources' own: apt-get
    # source below says whether they are there.
    refresh_indexes
  fi
  echo "setup.sh: fetching the source of $LIBDEFLATE_SOURCE_PACKAGE with apt-get source"
  mkdir -p "$LIBDEFLATE_CACHE"
  work=$(mktemp -d "$LIBDEFLATE_CACHE/fetch.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  # apt drops root to _apt for downloads; the folder must be its to write.
  chown _apt "$work" 2>/dev/null || true
  (cd "$work" && apt-get source --download-only -qq "$LIBDEFLATE_SOURCE_PACKAGE" >/dev/null)
  if ! echo "$LIBDEFLATE_SHA256  $work/$LIBDEFLATE_TARBALL" | sha256sum --check --status; then
    echo "setup.sh: $LIBDEFLATE_TARBALL from apt-get source does not have the pinned SHA-256 $LIBDEFLATE_SHA256" >&2
    exit 1
  fi
  mv "$work/$LIBDEFLATE_TARBALL" "$tarball"
fi
echo "setup.sh: ready"
