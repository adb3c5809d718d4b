#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. The tests that open windows,
# send X input and take screenshots always run on an X server of their own (Xvfb, 640 x 480,
# 24-bit, with Mesa's software OpenGL), never on the desktop the command was started from.
# Extra arguments go to CTest (for example -j2, or -R EndToEnd).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DWANDERKIN_WERROR=ON

source scripts/own-x-server.sh
if ! start_own_x_server build/xvfb.log; then
    echo "Could not start an X server for the tests; see build/xvfb.log."
    exit 1
fi
echo "Tests run on their own X server, display $DISPLAY."

cd build
ctest --output-on-failure "$@"
