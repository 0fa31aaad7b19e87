#!/usr/bin/env bash
# Starts the real program in a real X server: the window "Filvanta" appears, Esc ends it, and
# the settings file of a first run holds its nine lines.
set -u
program=$1
work=$(mktemp -d)
trap 'kill "${pid:-}" "${xvfb:-}" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

# A display of our own: a free number, and a server that answers, or another try.
xvfb=""
for _ in $(seq 5); do
    number=$((100 + RANDOM % 800))
    [ -e "/tmp/.X${number}-lock" ] && continue
    # -noreset: the server would otherwise reset as xdpyinfo, its only client, leaves.
    Xvfb ":$number" -noreset -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    export DISPLAY=:$number QT_QPA_PLATFORM=xcb
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break 2; sleep 0.1; done
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    xvfb=""
done
if [ -z "$xvfb" ]; then
    echo "FAIL: no X server could be started"
    exit 1
fi

"$program" &
pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name '^Filvanta$' 2>/dev/null | head -n 1)
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "FAIL: no window titled Filvanta appeared"
    exit 1
fi
# There is no window manager: give the window the input focus, then press Esc through XTEST.
# A loaded machine may show the window before it takes keys, so try a few times.
for _ in $(seq 10); do
    xdotool windowfocus --sync "$window" >/dev/null 2>&1
    xdotool key Escape
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null || break
done
if kill -0 "$pid" 2>/dev/null; then
    echo "FAIL: Esc did not end the program"
    exit 1
fi
wait "$pid"

expected=$(printf '[Application]\r\nVersion=20\r\n[Data]\r\nFolder=%s\r\nPrefix=\r\nStartNumber=001\r\nKaku=*.*\r\n[Config]\r\nSmallCheck=1\r\n' "$work")
actual=$(cat FVanta.ini 2>/dev/null)
if [ "$actual" != "$expected" ]; then
    echo "FAIL: FVanta.ini is not the first run's nine lines:"
    cat -A FVanta.ini 2>/dev/null
    exit 1
fi
echo "smoke: window shown, Esc ended it, FVanta.ini has its nine lines"
