#!/usr/bin/env bash
# Plays the whole game on an X server of its own (640 x 480, 24-bit) and saves its screens to
# docs/screenshots/: each scene as it starts, scene 4 in its late forms, the pointer over the
# brightest and the darkest icon of the boards, and a five-line text in the message box.
set -euo pipefail
cd "$(dirname "$0")/.."
# The build's progress is not wanted here, its errors are.
if ! scripts/build.sh >build-screenshots.log 2>&1; then
    cat build-screenshots.log
    exit 1
fi
rm -f build-screenshots.log
mkdir -p docs/screenshots
WANDERKIN_SCREENSHOTS="$PWD/docs/screenshots" SDL_AUDIODRIVER=dummy scripts/own-x-server.sh \
    build/wanderkin_screen_tests --gtest_filter=Screenshots.*
ls docs/screenshots
