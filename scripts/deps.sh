#!/usr/bin/env bash
# Installs the Debian packages every make target needs, only those that are missing:
# the build and tests (build, test, asan), ccache, clang with its sanitizer and
# libFuzzer run-times (fuzz), the benchmark library, the UDUNITS-2 and ColPack baselines
# (bench), python3 (mutants, generators), gcovr (coverage), clang-format (the
# format check of CI), pkg-config and dpkg-dev (the install test's consumers and
# the Debian package's dependencies), lld (a Fortran host linked by it, in the
# tests; the mutant builds link with it).
# With --bench: only the tools that compare benchmark runs (scripts/bench_compare.sh:
# libbenchmark-tools and the system Python's scipy), which neither the build nor CI needs.
set -euo pipefail
need=(cmake ninja-build g++ gfortran libgtest-dev libbenchmark-dev libssl-dev bison flex
      ccache clang libclang-rt-dev libudunits2-dev libcolpack-dev python3 binutils gcovr clang-format pkg-config dpkg-dev lld)
if [ "${1:-}" = "--bench" ]; then
  need=(libbenchmark-tools python3-scipy)
fi
missing=()
for p in "${need[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
