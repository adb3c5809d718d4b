#!/usr/bin/env bash
# Configures and builds the game, the tests, the asset tool and the benchmarks into build/.
# Extra arguments go to CMake's configure step (the test command adds -DWANDERKIN_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cmake --build build -j"$(nproc)"
