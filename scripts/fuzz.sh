#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz and runs every one for SECONDS
# (30 by default), two at a time. A target is tests/fuzz/<name>.cpp with its
# seeds in tests/fuzz/corpus/<name>/. Fails when any target finds a crash;
# the input that crashed is kept in build-fuzz/artifacts/<name>/.
# VESKCAL_FUZZ_SEED fixes libFuzzer's random seed, so that a short run is the
# same run on every machine (up to where its time ends).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=${VESKCAL_FUZZ_BUILD:-build-fuzz}
jobs=${VESKCAL_FUZZ_JOBS:-2}
scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang-16 -DCMAKE_CXX_COMPILER=clang++-16 -DVESKCAL_FUZZ=ON \
  -DVESKCAL_BUILD_QT=OFF -DVESKCAL_BUILD_TESTS=OFF -DVESKCAL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_targets
# Stack traces of findings name functions and lines.
export ASAN_SYMBOLIZER_PATH=/usr/bin/llvm-symbolizer-16

run_target() {
  local name=$1
  local corpus="$build/fuzz-corpus/$name" artifacts="$build/artifacts/$name"
  local log="$build/fuzz-logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local options=()
  [ -f "tests/fuzz/$name.dict" ] && options=("-dict=tests/fuzz/$name.dict")
  [ -n "${VESKCAL_FUZZ_SEED:-}" ] && options+=("-seed=$VESKCAL_FUZZ_SEED")
  # New inputs go to the build tree's corpus; the seeds are only read.
  local status=0
  "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "${options[@]}" \
    "$corpus" "tests/fuzz/corpus/$name" >"$log" 2>&1 || status=$?
  local runs
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    echo "fuzz $name: ${runs:-?} executions in ${seconds}s, nothing found"
  else
    echo "fuzz $name: FAILED after ${runs:-?} executions (exit $status); log $log:"
    tail -n 60 "$log"
  fi
  return "$status"
}

names=()
for source in tests/fuzz/*.cpp; do
  names+=("$(basename "$source" .cpp)")
done
failed=0
pids=()
for name in "${names[@]}"; do
  run_target "$name" &
  pids+=($!)
  if [ ${#pids[@]} -ge "$jobs" ]; then
    wait "${pids[0]}" || failed=1
    pids=("${pids[@]:1}")
  fi
done
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
exit "$failed"
