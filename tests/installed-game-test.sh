#!/usr/bin/env bash
# The game as a player starts it: installed into a fresh prefix and started from / by the
# installed menu entry's command, as a desktop menu would. The title must come up in a window
# of the class the entry names (so that task lists show the entry's name and icon), Escape must
# end the game, and it must say "Exited cleanly" last and end with status 0; a game that cannot
# start must end with its own status.
# Usage: installed-game-test.sh BUILD_DIR   (on the X display in DISPLAY; xdotool, ImageMagick)
set -euo pipefail
build=$1
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
    echo "needs an X display (run the tests through the test command)"
    exit 77
fi

work=$(mktemp -d)
game=""
cleanup() {
    [ -n "$game" ] && kill -9 "$game" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
entry=$(echo "$prefix"/share/applications/*.desktop)
command=$(sed -n 's/^Exec=//p' "$entry")
class=$(sed -n 's/^StartupWMClass=//p' "$entry")
# The menu finds the command on the PATH, where the launcher folder of a prefix belongs.
launchers=$prefix/$(sed -n 's/^WANDERKIN_LAUNCHER_DIR:[A-Z]*=//p' "$build/CMakeCache.txt")
export PATH="$launchers:$PATH"

# The launcher passes the game's status on: without a display to open its window on, 1.
status=0
(cd / && DISPLAY=:199 WAYLAND_DISPLAY='' exec $command) >"$work/output" 2>&1 || status=$?
if [ "$status" -ne 1 ]; then
    echo "Without a display the installed game ended with status $status, not 1. It said:"
    cat "$work/output"
    exit 1
fi

(cd / && exec $command) >"$work/output" 2>"$work/errors" &
game=$!

# Whether any pixel of the screen in the rectangle W x H at (X, Y) is lit, in the last grab.
lit() {
    [ "$(convert "$work/screen.ppm" -crop "$3x$4+$1+$2" +repage -format '%[max]' info:)" != 0 ]
}
# The title once its fade-in is over: "begin" lit, while the corner the fade-in dithers white
# and the middle right, where the intro draws, stay dark.
titleShown() {
    import -window root "$work/screen.ppm" 2>/dev/null &&
        lit 253 258 80 16 && ! lit 0 0 150 110 && ! lit 400 200 70 50
}

running() { kill -0 "$game" 2>/dev/null; }

polls=0
until titleShown; do
    if ! running || [ "$polls" -ge 240 ]; then
        echo "The title did not come up within a minute. The game said:"
        cat "$work/output" "$work/errors"
        exit 1
    fi
    polls=$((polls + 1))
    sleep 0.25
done

if [ -z "$class" ] || ! xdotool search --class "^$class\$" >/dev/null; then
    echo "The menu entry's StartupWMClass '$class' names no window of the game."
    exit 1
fi

# Keys are dropped while a picture fades in, so keep pressing until the game has ended.
presses=0
while running; do
    if [ "$presses" -ge 60 ]; then
        echo "Escape did not end the game within 30 seconds."
        exit 1
    fi
    xdotool key Escape
    presses=$((presses + 1))
    sleep 0.5
done
status=0
wait "$game" || status=$?
game=""
if [ "$status" -ne 0 ] || [ "$(tail -n 1 "$work/output")" != "Exited cleanly" ]; then
    echo "The game ended with status $status and said:"
    cat "$work/output" "$work/errors"
    exit 1
fi
echo "The installed game showed its title and ended cleanly."
