#!/usr/bin/env bash
# Builds everything and runs every test. Arguments go to ctest, for example
# --preset fast to leave out the slow 32-bit end-to-end runs.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "$(id -u)" -eq 0 ]; then
  bash scripts/setup.sh
fi
# First, as it takes a second: the lines changed last are written as
# .clang-format says.
bash scripts/check-format.sh
cmake --preset default
cmake --build --preset default
preset=default
for arg in "$@"; do
  case "$arg" in --preset=*) preset=${arg#--preset=} ;; esac
done
args=()
for arg in "$@"; do
  case "$arg" in --preset=*) ;; *) args+=("$arg") ;; esac
done
ctest --preset "$preset" "${args[@]+"${args[@]}"}"
