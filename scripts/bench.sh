#!/usr/bin/env bash
# Builds what the benchmarks need and prints the stub's figures as a table.
# Not a test: it measures, and nothing fails because the machine is slow.
#   bash scripts/bench.sh [--mib N] [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
bash tests/wine/start.sh build/wine >/dev/null
python3 scripts/bench.py "$@"
python3 scripts/bench-pack.py
