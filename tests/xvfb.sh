# Sourced by the scripts that run the real program in an X server of their own.

# Starts Xvfb on a free display and exports DISPLAY; sets xvfb to its pid. Returns 1 when no
# server could be had.
start_xvfb() {
    xvfb=""
    local number
    for _ in $(seq 5); do
        number=$((100 + RANDOM % 800))
        [ -e "/tmp/.X${number}-lock" ] && continue
        # -noreset: the server would otherwise reset as xdpyinfo, its only client, leaves.
        Xvfb ":$number" -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb=$!
        export DISPLAY=:$number QT_QPA_PLATFORM=xcb
        for _ in $(seq 50); do
            xdpyinfo >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null
        wait "$xvfb" 2>/dev/null
        xvfb=""
    done
    return 1
}

# Waits up to ten seconds for a visible window of that exact title; prints its id.
wait_for_window() {
    local window
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.1
    done
    return 1
}
