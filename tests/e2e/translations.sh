#!/bin/sh
# The translated-texts test in each language of the kit, under the code page
# a user of that language has.
#   translations.sh RUN64 E2E_TESTS_EXE LOCALE_DIR
set -eu
run64=$1 tests=$2 locales=$3
. "$(cd "$(dirname "$0")" && pwd)/under-locale.sh"
status=0
# The first kit languages, then one of each other page the kit's are in.
for row in fr:040C:fr_FR:1252 de:0407:de_DE:1252 es:0C0A:es_ES:1252 ja:0411:ja_JP:932 zh-CN:0804:zh_CN:936 \
    pl:0415:pl_PL:1250 ru:0419:ru_RU:1251 el:0408:el_GR:1253 tr:041F:tr_TR:1254 ko:0412:ko_KR:949 \
    zh-TW:0404:zh_TW:950; do
  IFS=: read -r language id locale page <<EOF
$row
EOF
  out=$(mktemp)
  echo "translations.sh: $language under code page $page ($locale)"
  if ! VDL_TEXTS_LANGUAGE="$language" VDL_TEXTS_ID="$id" VDL_TEXTS_PAGE="$page" under_locale "$locales" "$locale" "$out" "$run64" "$tests" \
      "--gtest_filter=TranslatedTextsTest.KitLanguage*"; then
    status=1
  fi
  passed_one "$out" translations.sh "$language" || status=1
  rm -f "$out"
done
exit $status
