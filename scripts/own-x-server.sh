# Sourced by the scripts that run the game's window: starts an X server of their own (Xvfb,
# 640 x 480, 24-bit) and points DISPLAY at it, never at the desktop they were started from.
# Xvfb picks a free display itself and names it once it takes connections, so two runs side by
# side never share one. The server ends with the script.
# Usage: start_own_x_server LOG_FILE   (Xvfb's messages go to the log; fails if it cannot start)
start_own_x_server() {
    unset DISPLAY WAYLAND_DISPLAY
    local display_file
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$display_file" >"$1" 2>&1 &
    own_x_server_pid=$!
    trap 'kill "$own_x_server_pid" 2>/dev/null || true; wait "$own_x_server_pid" 2>/dev/null || true' EXIT
    for _ in $(seq 100); do
        [ -s "$display_file" ] || ! kill -0 "$own_x_server_pid" 2>/dev/null && break
        sleep 0.1
    done
    [ -s "$display_file" ] && export DISPLAY=":$(cat "$display_file")"
    rm -f "$display_file"
    [ -n "${DISPLAY:-}" ]
}
