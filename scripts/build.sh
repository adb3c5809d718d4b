#!/usr/bin/env bash
# Configures and builds the game, the tests, the tools, the desktop files and the benchmarks into
# build/, the folder the test command and CTest use. With --play, only the game itself, without
# the tests, into build-play/: what scripts/play.sh needs, and the quickest build. The two
# folders keep their own settings, so neither build reconfigures the other and the test build's
# warnings-as-errors never reaches a player's build. Further arguments go to CMake's configure
# step (the test command adds -DWANDERKIN_WERROR=ON).
set -euo pipefail
cd "$(dirname "$0")/.."
folder=build
settings=(-DWANDERKIN_TESTS=ON)
targets=()
if [ "${1:-}" = --play ]; then
    shift
    folder=build-play
    settings=(-DWANDERKIN_TESTS=OFF)
    targets=(--target wanderkin)
fi
cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${settings[@]}" "$@"
cmake --build "$folder" -j"$(nproc)" "${targets[@]}"
