#!/usr/bin/env bash
# Plays the whole game on an X server of its own (640 x 480, 24-bit) and saves its screens to
# docs/screenshots/: each scene as it starts, scene 4 in its late forms, the pointer over the
# brightest and the darkest icon of the boards, and a five-line text in the message box.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid"; rm -f "$display_file"' EXIT
for _ in $(seq 100); do
    [ -s "$display_file" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
    sleep 0.1
done
[ -s "$display_file" ] || { echo "Could not start an X server."; exit 1; }
export DISPLAY=":$(cat "$display_file")"

mkdir -p docs/screenshots
WANDERKIN_SCREENSHOTS="$PWD/docs/screenshots" SDL_AUDIODRIVER=dummy \
    build/wanderkin_screen_tests --gtest_filter=EndToEnd.PlaysTheWholeGameWithRealInput
ls docs/screenshots
