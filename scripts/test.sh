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

# Xvfb picks a free display itself and names it once it takes connections, so two test runs
# side by side never share one. Its messages go to build/xvfb.log.
unset DISPLAY WAYLAND_DISPLAY
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$display_file" >build/xvfb.log 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$display_file" ] || ! kill -0 "$xvfb_pid" 2>/dev/null && break
    sleep 0.1
done
[ -s "$display_file" ] && export DISPLAY=":$(cat "$display_file")"
rm -f "$display_file"
if [ -z "${DISPLAY:-}" ]; then
    echo "Could not start an X server for the tests; see build/xvfb.log."
    exit 1
fi
echo "Tests run on their own X server, display $DISPLAY."

cd build
ctest --output-on-failure "$@"
