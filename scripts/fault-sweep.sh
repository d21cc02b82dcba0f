#!/usr/bin/env bash
# The whole fault sweep: every fallible system call of the stub's test
# variant made to fail in turn, in each flow, fresh and over an earlier
# installation, each run classified (docs/fault-sweep.md). Prints one line
# per run, then the table for docs/benchmarks.md; the whole output is kept in
# build/fault-sweep-ARCH.txt (build/kill-sweep-ARCH.txt with --kill). ctest
# runs a sample of it (faults.sweep) and the kill sweep (faults.kill).
#   bash scripts/fault-sweep.sh [--arch x86_64|i686] [--every K] [--flow NAME]...
#   bash scripts/fault-sweep.sh --kill [--arch x86_64|i686]
# Exits 1 when a fault shows that the sweep's list of known faults does not hold.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=x86_64
kind=fault
args=("$@")
for ((i = 0; i < ${#args[@]}; i++)); do
  [ "${args[$i]}" = "--arch" ] && arch=${args[$((i + 1))]}
  [ "${args[$i]}" = "--kill" ] && kind=kill
done
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
bash tests/wine/start.sh build/wine >/dev/null
echo "bash scripts/fault-sweep.sh $*  ($(date -u '+%Y-%m-%d %H:%M UTC'))"
start=$(date +%s)
status=0
build/wine/run64 build/win-x86_64/tests/faults/fault_sweep.exe "$@" | tee "build/$kind-sweep-$arch.txt" || status=$?
echo "took $(( $(date +%s) - start )) s"
exit "$status"
