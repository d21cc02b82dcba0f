#!/bin/sh
# The translated-texts test in each language of the kit, under the code page
# a user of that language has.
#   translations.sh RUN64 E2E_TESTS_EXE LOCALE_DIR
set -eu
run64=$1 tests=$2 locales=$3
. "$(cd "$(dirname "$0")" && pwd)/under-locale.sh"
status=0
for triple in fr:fr_FR:1252 de:de_DE:1252 es:es_ES:1252 ja:ja_JP:932 zh-CN:zh_CN:936; do
  language=${triple%%:*} rest=${triple#*:}
  locale=${rest%%:*} page=${rest#*:}
  out=$(mktemp)
  echo "translations.sh: $language under code page $page ($locale)"
  if ! VDL_TEXTS_LANGUAGE="$language" VDL_TEXTS_PAGE="$page" under_locale "$locales" "$locale" "$out" "$run64" "$tests" \
      "--gtest_filter=TranslatedTextsTest.KitLanguage*"; then
    status=1
  fi
  cat "$out"
  # A skipped test would pass without having seen the language.
  if ! grep -q "\[  PASSED  \] 1 test" "$out"; then
    echo "translations.sh: the $language test did not run and pass" >&2
    status=1
  fi
  rm -f "$out"
done
exit $status
