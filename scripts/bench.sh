#!/usr/bin/env bash
# Builds what the benchmarks need and prints the stub's figures as a table.
# Not a test: it measures, and nothing fails because the machine is slow.
#   bash scripts/bench.sh [--mib N] [--runs N] [--only peer|startup]
# The comparison with NSIS needs Debian's nsis (makensis), which
# scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
command -v makensis >/dev/null || { echo "bench: makensis missing: run scripts/setup.sh"; exit 1; }
bash tests/wine/start.sh build/wine >/dev/null
python3 scripts/bench.py "$@"
python3 scripts/bench-pack.py
