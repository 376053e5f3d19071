#!/usr/bin/env bash
# Builds optimised and runs the benchmarks (not part of the test run).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVESKCAL_BUILD_TESTS=OFF
cmake --build build-bench -j2
for b in build-bench/bench/bench_*; do
  [ -x "$b" ] && "$b" "$@"
done
# The interactions again on a million entries.
for b in bench_store bench_views bench_planner; do
  VESKCAL_BENCH_SET=1m "build-bench/bench/$b" "$@"
done
