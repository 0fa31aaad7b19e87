#!/usr/bin/env bash
# Takes the README's picture of the main window: starts the real program under Xvfb on a folder
# of sample files and saves the window as a PNG.
#
#   tools/screenshot.sh [PROGRAM [OUTPUT.png]]    (defaults: build/Filvanta, docs/screenshot.png)
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
program=$(realpath "${1:-$repo/build/Filvanta}")
output=$(realpath -m "${2:-$repo/docs/screenshot.png}")
for tool in Xvfb xdpyinfo xdotool xwd convert; do
    command -v "$tool" >/dev/null || {
        echo "screenshot: $tool is missing (tools/install-deps.sh installs it)" >&2
        exit 1
    }
done
[ -x "$program" ] || {
    echo "screenshot: no program at $program (make build)" >&2
    exit 1
}

# A fixed folder keeps the picture the same from run to run; mkdir fails if another run has it.
work=/tmp/filvanta-screenshot
mkdir -m 700 "$work" 2>/dev/null || work=$(mktemp -d)
# Waiting for the server to go keeps its display number from being handed to the next run early.
trap 'kill "${pid:-}" "${xvfb:-}" 2>/dev/null; wait; rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8 TZ=Asia/Tokyo

photos=$work/写真
mkdir "$photos"
sample() { # name, last-write time
    printf 'sample\n' >"$photos/$1"
    touch -d "$2" "$photos/$1"
}
sample IMG_0001.JPG '2024-03-02 09:14'
sample IMG_0002.JPG '2024-03-02 09:15'
sample IMG_0003.JPG '2024-03-02 10:41'
sample IMG_0007.JPG '2024-03-03 16:05'
sample DSC01234.jpg '2024-02-11 13:30'
sample 京都_清水寺.jpg '2024-03-04 11:22'
sample 桜と川.png '2024-04-01 08:00'
sample 旅行メモ.txt '2024-03-05 21:47'
sample 集合写真（全員）.JPG '2024-03-03 18:30'
cd "$work"
printf '[Application]\r\nVersion=20\r\n[Data]\r\nFolder=%s\r\nPrefix=京都旅行_\r\nStartNumber=001\r\nKaku=*.*\r\n[Config]\r\nSmallCheck=1\r\n' \
    "$photos" >FVanta.ini

. "$repo/tests/xvfb.sh"
start_xvfb || {
    echo "screenshot: no X server could be started" >&2
    exit 1
}
export XDG_RUNTIME_DIR=$work

"$program" &
pid=$!
window=$(wait_for_window Filvanta) || {
    echo "screenshot: no window titled Filvanta appeared" >&2
    exit 1
}

# The window is mapped before it has painted: take pictures until two in a row are the same.
previous=""
for _ in $(seq 50); do
    sleep 0.2
    xwd -silent -id "$window" >"$work/window.xwd"
    current=$(md5sum <"$work/window.xwd")
    [ "$current" = "$previous" ] && break
    previous=$current
done
# The focused edit's caret blinks; over a second of pictures keep the darkest, the one showing
# it, so that every run saves the same picture.
darkest=""
for i in $(seq 6); do
    sleep 0.2
    xwd -silent -id "$window" >"$work/frame$i.xwd"
    mean=$(convert "xwd:$work/frame$i.xwd" -precision 15 -format '%[mean]' info:)
    if [ -z "$darkest" ] || awk -v a="$mean" -v b="$darkest" 'BEGIN { exit !(a < b) }'; then
        darkest=$mean
        cp "$work/frame$i.xwd" "$work/window.xwd"
    fi
done
mkdir -p "$(dirname "$output")"
convert "xwd:$work/window.xwd" -strip -define png:exclude-chunks=date,time "png:$output"
echo "screenshot: $output"
