#!/usr/bin/env bash
# Compares two benchmark runs with the compare tool of Debian's libbenchmark-tools:
#   scripts/bench_compare.sh BEFORE.json AFTER.json
#   scripts/bench_compare.sh BEFORE_FOLDER AFTER_FOLDER   (every <program>.json both hold)
# The JSON files are the ones `make bench` leaves in build/dev/bench/results (copy
# that folder before a change, run `make bench` after it, compare the two).
# Not part of CI; installs the tool and its Python modules when they are missing.
set -euo pipefail
if [ $# -ne 2 ]; then
  sed -n '2,6p' "$0" >&2
  exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
bash "$here/deps.sh" --bench
tool=/usr/share/benchmark/compare.py
# The Debian tool's modules (scipy) are the system Python's.
python=/usr/bin/python3

compare() {
  echo "== $(basename "$1" .json)"
  "$python" "$tool" benchmarks "$1" "$2"
}

if [ -d "$1" ] && [ -d "$2" ]; then
  found=0
  for before in "$1"/*.json; do
    case "$before" in *.pairs.json) continue ;; esac
    after="$2/$(basename "$before")"
    [ -f "$after" ] || continue
    compare "$before" "$after"
    found=1
  done
  [ "$found" -eq 1 ] || { echo "bench_compare: no run found in both folders" >&2; exit 1; }
else
  compare "$1" "$2"
fi
