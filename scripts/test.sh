#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. When no display is set it
# starts its own X server (640 x 480, 24-bit, with Mesa's software OpenGL) for the tests.
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

# A display that is set but cannot be reached is as good as none.
if [ -n "${DISPLAY:-}" ] && ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "Display $DISPLAY cannot be reached; starting our own."
    unset DISPLAY
fi

if [ -z "${DISPLAY:-}" ]; then
    for number in $(seq 90 130); do
        [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ] && continue
        Xvfb ":$number" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X${number}" ] && break
            sleep 0.1
        done
        if kill -0 "$xvfb_pid" 2>/dev/null; then
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
fi

cd build
ctest --output-on-failure -j1 "$@"
