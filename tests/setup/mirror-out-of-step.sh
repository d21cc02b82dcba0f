#!/usr/bin/env bash
# Runs scripts/setup.sh against a package client that behaves as a mirror out
# of step does, without touching this machine's packages or network: the
# folder put first on PATH holds an apt-get, dpkg, dpkg-query and id of the
# test's own. Every package looks missing until the fake apt-get installs.
#   mirror-out-of-step.sh WORK_DIR
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work=$(realpath -m "$1")
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

make_fakes() {
  local bin=$work/bin
  rm -rf "$work" && mkdir -p "$bin"
  cat > "$bin/apt-get" <<'FAKE'
#!/bin/sh
echo "$*" >> "$FAKE_STATE/calls"
case "$1" in
  update)
    echo "E: Failed to fetch http://mirror.invalid/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100 ;;
  install)
    case " $* " in
      *" -t "*) [ "$FAKE_MODE" = mirror ] && { touch "$FAKE_STATE/installed"; exit 0; } ;;
    esac
    echo "E: Unable to correct problems, you have held broken packages." >&2
    exit 100 ;;
esac
echo "fake apt-get: unexpected call: $*" >&2
exit 2
FAKE
  cat > "$bin/dpkg-query" <<'FAKE'
#!/bin/sh
[ -e "$FAKE_STATE/installed" ] && { printf 'install ok installed'; exit 0; }
exit 1
FAKE
  cat > "$bin/dpkg" <<'FAKE'
#!/bin/sh
[ "$1" = --print-foreign-architectures ] && echo i386
exit 0
FAKE
  printf '#!/bin/sh\necho 0\n' > "$bin/id"
  chmod +x "$bin"/*
}

# Runs set-up in MODE; its exit code goes to $work/rc, its output to
# $work/out.
run_setup() {
  set +e
  FAKE_STATE=$work FAKE_MODE=$1 PATH="$work/bin:$PATH" bash "$root/scripts/setup.sh" > "$work/out" 2>&1
  echo $? > "$work/rc"
  set -e
}

expect_in_output() {
  grep -qF -- "$2" "$work/out" || fail "$1: the output lacks \"$2\""
}

# The mirror as seen: update fails on one index, the plain install cannot be
# resolved, the release as target goes through.
make_fakes
run_setup mirror
[ "$(cat "$work/rc")" = 0 ] || fail "mirror: setup.sh ended with $(cat "$work/rc")"
expect_in_output mirror "could not refresh bookworm-security/main/binary-i386/Packages.xz; going on"
expect_in_output mirror "trying again with the release's own suite, $codename, as target"
expect_in_output mirror "installed with $codename as target"
grep -q -- "^install .* -t $codename " "$work/calls" || fail "mirror: no install with -t $codename"
cat "$work/out"

# A machine that has everything asks the package client nothing.
rm -f "$work/calls"
run_setup mirror
[ "$(cat "$work/rc")" = 0 ] || fail "installed: setup.sh ended with $(cat "$work/rc")"
[ ! -e "$work/calls" ] || fail "installed: apt-get was called: $(cat "$work/calls")"

# An install that fails both ways stops set-up with apt's own error.
make_fakes
run_setup broken
[ "$(cat "$work/rc")" != 0 ] || fail "broken: setup.sh ended with 0"
expect_in_output broken "E: Unable to correct problems, you have held broken packages."
expect_in_output broken "docs/building.md"
[ "$(grep -c -- "^install " "$work/calls")" = 2 ] || fail "broken: expected two installs, got: $(cat "$work/calls")"
cat "$work/out"

[ "$failures" = 0 ] || { echo "mirror-out-of-step.sh: $failures checks failed" >&2; exit 1; }
