#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole test suite. The
# tests that open windows, send X input and take screenshots always run on an X server of their
# own (Xvfb, 640 x 480, 24-bit, with Mesa's software OpenGL), never on the desktop the command
# was started from.
# With --sanitize the build goes to build-sanitize/ with AddressSanitizer and
# UndefinedBehaviorSanitizer, and any report they make fails its test (tests/sanitizer.supp names
# the system libraries whose leaks are left alone).
# Other arguments go to CTest (for example -j2, or -R EndToEnd).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
build=build
if [ "${1:-}" = --sanitize ]; then
    shift
    build=build-sanitize
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWANDERKIN_WERROR=ON \
        -DWANDERKIN_SANITIZE=ON
    cmake --build "$build" -j"$(nproc)"
    # Every report fails its test, the game's started by the end-to-end tests included; the
    # game's parts, which live until it ends, are no leak (app/main.cpp tells the checker).
    # Libraries stay loaded, so that a leak names the one it comes from.
    export ASAN_OPTIONS=detect_leaks=1:verify_asan_link_order=0
    export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer.supp:print_suppressions=0
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LD_PRELOAD=$PWD/$build/libkeeplibrariesloaded.so
else
    scripts/build.sh -DWANDERKIN_WERROR=ON -DWANDERKIN_SANITIZE=OFF
fi
echo "Tests run on an X server of their own; its messages go to $build/xvfb.log."
scripts/own-x-server.sh --log "$build/xvfb.log" ctest --test-dir "$build" --output-on-failure "$@"
