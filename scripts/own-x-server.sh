#!/usr/bin/env bash
# Runs a command on an X server of its own (Xvfb, 24-bit), never on the desktop it was started
# from, and ends the server with it. Xvfb picks a free display itself and names it once it takes
# connections, so two runs side by side never share one. A screen larger than the game's shows
# the picture scaled only under a window manager: --window-manager starts openbox on it first.
# Usage: own-x-server.sh [--size WIDTHxHEIGHT] [--window-manager] [--log FILE] COMMAND [ARG...]
# (640x480 unless told; the servers' messages go to FILE, and are shown when they fail to start).
# Exits with the command's status, or 1 when the X server or the window manager did not start.
set -uo pipefail
size=640x480
manager=false
log=""
while [ $# -gt 0 ]; do
    case $1 in
    --size) size=$2 && shift 2 ;;
    --window-manager) manager=true && shift ;;
    --log) log=$2 && shift 2 ;;
    *) break ;;
    esac
done
if [ $# -eq 0 ]; then
    echo "Usage: $0 [--size WIDTHxHEIGHT] [--window-manager] [--log FILE] COMMAND [ARG...]"
    exit 2
fi

work=$(mktemp -d)
log=${log:-$work/x.log}
: >"$log"
servers=()
end_servers() {
    for pid in "${servers[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap end_servers EXIT
trap 'exit 143' TERM INT

# Waits up to 30 seconds for FILE to exist and hold something, while process PID runs.
wait_for_file() {
    for _ in $(seq 300); do
        [ -s "$1" ] && return 0
        kill -0 "$2" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# Tells why a server did not come up, in its own words, and gives up.
did_not_start() {
    echo "$1 did not start (is it installed? scripts/install-deps.sh installs it). It said:"
    tail -n 20 "$log"
    exit 1
}

unset DISPLAY WAYLAND_DISPLAY
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$work/display" >>"$log" 2>&1 &
servers+=($!)
wait_for_file "$work/display" "${servers[0]}" || did_not_start Xvfb
export DISPLAY=":$(cat "$work/display")"

if $manager; then
    # openbox runs its start-up command once it manages the screen.
    openbox --startup "sh -c 'echo ready >$work/managed'" >>"$log" 2>&1 &
    servers+=($!)
    wait_for_file "$work/managed" "${servers[1]}" || did_not_start openbox
fi

"$@"
