#!/usr/bin/env bash
# Configures and builds into build/. With --play only the game itself, without the tests: what
# scripts/play.sh needs, and the quickest build. Otherwise the game, the tests, the tools, the
# desktop files and the benchmarks. Further arguments go to CMake's configure step (the test
# command adds -DWANDERKIN_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
settings=(-DWANDERKIN_TESTS=ON)
targets=()
if [ "${1:-}" = --play ]; then
    shift
    settings=(-DWANDERKIN_TESTS=OFF)
    targets=(--target wanderkin)
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${settings[@]}" "$@"
cmake --build build -j"$(nproc)" "${targets[@]}"
