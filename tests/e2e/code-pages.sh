#!/bin/sh
# The double-byte tests under each system code page they are written for,
# on one machine's stub. Wine takes the code page from the locale of the
# whole test program, and reads Unix file names in its character set, so
# each locale is made here (no root needed) and named with LOCPATH.
# Then, for each double-byte page, an installer that vpack packs from a
# manifest of that page, installed silently (packed-code-page.sh).
#   code-pages.sh RUN64 E2E_TESTS_EXE LOCALE_DIR MACHINE VPACK WIN_BUILD TREE
set -eu
run64=$1 tests=$2 locales=$3 machine=$4 vpack=$5 winbuild=$6 tree=$7
root="$(cd "$(dirname "$0")/../.." && pwd)"
. "$root/tests/e2e/packed-code-page.sh"
. "$root/tests/e2e/under-locale.sh"
if [ "$machine" = i686 ] && ! { ! grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386 &&
                               timeout 10 /usr/lib/wine/wine --version >/dev/null 2>&1; }; then
  echo "code-pages.sh: 32-bit programs run under emulation here; the i686 stub's double-byte runs are left out"
  exit 0
fi
status=0
# 1250 is the control of the installer made for another page: it converts.
for pair in ja_JP:932 zh_CN:936 ko_KR:949 zh_TW:950 pl_PL:1250; do
  locale=${pair%%:*} page=${pair#*:}
  out=$(mktemp)
  echo "code-pages.sh: code page $page ($locale), $machine stub"
  if ! VDL_E2E_MACHINE="$machine" under_locale "$locales" "$locale" "$out" "$run64" "$tests" \
      "--gtest_filter=DoubleByteTest.*:DoubleByteCut.*:ForeignCodePageTest.*"; then
    status=1
  fi
  cat "$out"
  # A locale Wine did not take would skip every test and pass.
  if [ "$page" != 1250 ] && grep -q "is no double-byte one" "$out"; then
    echo "code-pages.sh: the tests did not run under code page $page" >&2
    status=1
  fi
  rm -f "$out"
done
# Names by page: 932, 936 and 950 with second bytes of 0x5C, 949 the control.
packed_install ja_JP 932 "ソフト表" "能"
packed_install zh_CN 936 "乗客" "乗"
packed_install ko_KR 949 "한글" "글"
packed_install zh_TW 950 "許功蓋" "功"
exit $status
