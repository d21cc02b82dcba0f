#!/bin/sh
# One installer of several languages under each interface language and
# system code page a case needs, on each machine's stub. Wine takes the
# interface language from LC_MESSAGES and the code page from the rest of the
# locale; each locale is made here (no root needed) and named with LOCPATH.
#   languages.sh RUN64 E2E_TESTS_EXE LOCALE_DIR
set -eu
run64=$1 tests=$2 locales=$3
. "$(cd "$(dirname "$0")" && pwd)/under-locale.sh"
machines=x86_64
if ! grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386 && timeout 10 /usr/lib/wine/wine --version >/dev/null 2>&1; then
  machines="x86_64 i686"
else
  echo "languages.sh: 32-bit programs run under emulation here; the i686 stub's runs are left out"
fi
status=0
# interface locale, system locale, its language number, /LANG=, shown
for row in de_DE:de_DE:0407::de ja_JP:en_US:0411::ja ja_JP:ja_JP:0411::ja zh_CN:zh_CN:0804::zh-CN \
    it_IT:it_IT:0410::en zh_TW:zh_TW:0404::en de_DE:de_DE:0407:ja:ja de_DE:de_DE:0407:fr:de \
    pt_PT:pt_PT:0816::pt-BR; do
  IFS=: read -r ui system id ask shown <<EOF
$row
EOF
  make_locale "$locales" "$ui"
  make_locale "$locales" "$system"
  for machine in $machines; do
    out=$(mktemp)
    echo "languages.sh: interface $ui, system $system, /LANG=$ask: $shown expected, $machine stub"
    if ! env -u LC_ALL LOCPATH="$locales" LANG="$system.UTF-8" LC_MESSAGES="$ui.UTF-8" VDL_E2E_MACHINE="$machine" \
        VDL_LANGUAGE_UI="$id" VDL_LANGUAGE_ASK="$ask" VDL_LANGUAGE_SHOWN="$shown" \
        "$run64" "$tests" "--gtest_filter=LanguagesTest.*" >"$out" 2>&1; then
      status=1
    fi
    passed_one "$out" languages.sh "$shown under $ui" || status=1
    rm -f "$out"
  done
done
exit $status
