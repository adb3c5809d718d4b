#!/usr/bin/env bash
# Redraws the README's gesture pictures (docs/gestures/*.svg) from the recognizer's templates,
# building the drawing tool first if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target gesturepictures -j"$(nproc)"
mkdir -p docs/gestures
./build/gesturepictures docs/gestures
echo "Wrote docs/gestures/*.svg"
