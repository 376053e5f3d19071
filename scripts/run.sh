#!/usr/bin/env bash
# Installs what Vesk Calendar needs, builds an optimised program and starts it;
# any arguments go to the program (veskcal --help lists them).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVESKCAL_BUILD_TESTS=OFF -DVESKCAL_BUILD_BENCH=OFF
cmake --build build-release -j2
exec build-release/src/veskcal "$@"
