#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. The tests that open windows,
# send X input and take screenshots always run on an X server of their own (Xvfb, 640 x 480,
# 24-bit, with Mesa's software OpenGL), never on the desktop the command was started from.
# Extra arguments go to CTest (for example -j2, or -R EndToEnd).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DWANDERKIN_WERROR=ON

xvfb_pid=""
cleanup() {
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

unset DISPLAY WAYLAND_DISPLAY
for number in $(seq 90 130); do
    [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
    Xvfb ":$number" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X${number}" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X${number}" ]; then
        export DISPLAY=":$number"
        break
    fi
    xvfb_pid=""
done
if [ -z "${DISPLAY:-}" ]; then
    echo "Could not start an X server for the tests."
    exit 1
fi
echo "Tests run on their own X server, display $DISPLAY."

cd build
ctest --output-on-failure "$@"
