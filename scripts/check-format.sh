#!/usr/bin/env bash
# The formatter's verdict on the C++ lines a change touches. The tree was
# written by hand before it had a .clang-format, and many of its lines are
# wrapped where the formatter would not wrap them: those stay until someone
# changes them, and every line that is changed is written as .clang-format
# says. The change is the working tree against BASE, the last commit's
# parent unless given, so that CI on a fresh clone checks the newest commit.
#   bash scripts/check-format.sh [BASE]
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=$(command -v clang-format-diff-14 || command -v clang-format-diff || true)
if [ -z "$formatter" ]; then
  echo "check-format.sh: clang-format is missing; scripts/setup.sh installs it" >&2
  exit 1
fi
base=${1:-HEAD~1}
if ! git rev-parse -q --verify "$base^{commit}" >/dev/null; then
  echo "check-format.sh: no commit $base to compare with (a shallow clone?); nothing checked"
  exit 0
fi
# The code-page and font-width tables are generated (scripts/make-*.py).
diff=$(git diff -U0 --no-color "$base" -- '*.cpp' '*.h' ':!payload/CodePageTables.cpp' ':!vpack/rules/FontWidths.cpp' | "$formatter" -p1 -style=file)
if [ -n "$diff" ]; then
  printf '%s\n' "$diff"
  echo "check-format.sh: lines changed since $base are not as .clang-format writes them (above);" \
    "git diff -U0 $base | $formatter -p1 -i writes them so" >&2
  exit 1
fi
echo "check-format.sh: every C++ line changed since $base is as .clang-format writes it"
