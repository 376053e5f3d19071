#!/usr/bin/env bash
# Builds everything (the benchmarks too, so that they keep compiling) with AddressSanitizer
# and UndefinedBehaviorSanitizer and runs every test, then every fuzz target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=${VESKCAL_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVESKCAL_SANITIZE=ON -DVESKCAL_BUILD_BENCH=ON
cmake --build "$build" -j2
(cd "$build" && ctest --output-on-failure -j2 --timeout 600)
VESKCAL_BINARY="$build/src/veskcal" scripts/soak-kill.sh 20
# A fixed seed: the same short run everywhere; the long runs take random ones.
VESKCAL_FUZZ_SEED=1 scripts/fuzz.sh 30
