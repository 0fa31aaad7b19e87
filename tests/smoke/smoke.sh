#!/usr/bin/env bash
# Starts the real program in a real X server: the window "Filvanta" appears, Esc ends it, and
# the settings file of a first run holds its nine lines.
set -u
program=$1
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill "${pid:-}" "${xvfb:-}" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1

. "$here/../xvfb.sh"
if ! start_xvfb; then
    echo "FAIL: no X server could be started"
    exit 1
fi

"$program" &
pid=$!
window=$(wait_for_window Filvanta)
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
