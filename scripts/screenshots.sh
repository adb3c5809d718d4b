#!/usr/bin/env bash
# Plays the whole game on an X server of its own (640 x 480, 24-bit) and saves its screens to
# docs/screenshots/: each scene as it starts, scene 4 in its late forms, the pointer over the
# brightest and the darkest icon of the boards, and a five-line text in the message box.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null

xvfb_pid=""
trap '[ -z "$xvfb_pid" ] || kill "$xvfb_pid"' EXIT
for number in $(seq 90 130); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":$number" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X${number}" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
        sleep 0.1
    done
    [ -e "/tmp/.X11-unix/X${number}" ] && export DISPLAY=":$number" && break
    xvfb_pid=""
done
[ -n "${DISPLAY:-}" ] || { echo "Could not start an X server."; exit 1; }

mkdir -p docs/screenshots
WANDERKIN_SCREENSHOTS="$PWD/docs/screenshots" SDL_AUDIODRIVER=dummy \
    build/wanderkin_screen_tests --gtest_filter=EndToEnd.PlaysTheWholeGameWithRealInput
ls docs/screenshots
