#!/usr/bin/env bash
# Plays the whole game on an X server of its own (640 x 480, 24-bit) and saves its screens to
# docs/screenshots/: each scene as it starts, scene 4 in its late forms, the pointer over the
# brightest and the darkest icon of the boards, and a five-line text in the message box.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null

source scripts/own-x-server.sh
start_own_x_server /dev/null || { echo "Could not start an X server."; exit 1; }

mkdir -p docs/screenshots
WANDERKIN_SCREENSHOTS="$PWD/docs/screenshots" SDL_AUDIODRIVER=dummy \
    build/wanderkin_screen_tests --gtest_filter=EndToEnd.PlaysTheWholeGameWithRealInput
ls docs/screenshots
