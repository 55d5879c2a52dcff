#!/usr/bin/env bash
# Runs every benchmark binary of the build folder given as the first argument.
set -euo pipefail
build_dir=${1:-build}
shopt -s nullglob
for bench in "$build_dir"/bin/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_counters_tabular=true
done
