#!/usr/bin/env bash
# Redraws the README's gesture pictures (docs/gestures/*.svg) from the recognizer's templates,
# building the drawing tool first, beside the game in the play build (which needs no test
# packages).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --play
cmake --build build-play --target gesturepictures -j"$(nproc)"
mkdir -p docs/gestures
./build-play/gesturepictures docs/gestures
echo "Wrote docs/gestures/*.svg"
