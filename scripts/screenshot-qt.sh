#!/usr/bin/env bash
# Takes the screenshot of tvk-edit for the documentation: starts a virtual X display with a small
# window manager, runs build/tvk-edit in build/sample, opens the sample archive through the real
# file chooser, selects a row and saves the window, frame included, as docs/images/tvk-edit-linux.png.
# usage: scripts/screenshot-qt.sh [BUILD_DIR]   (default: build, made by `cmake --build --preset default`)
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
source scripts/deps.sh
source scripts/virtual-display.sh
need_packages xvfb xdotool x11-utils imagemagick openbox

build="$(cd "${1:-build}" && pwd)"
output="$root/docs/images/tvk-edit-linux.png"
if [ ! -x "$build/tvk-edit" ] || [ ! -f "$build/sample/TVK.DAT" ]; then
    echo "Build tvk-edit and the sample archive first: cmake --build --preset default" >&2
    exit 1
fi

trap kill_started EXIT
start_virtual_display

(cd "$build/sample" && exec "$build/tvk-edit") &
pids+=($!)
window="$(xdotool search --sync --onlyvisible --name '^TVK_Edit$' | head -n 1)"
sleep 1

# Window-relative pixels of the controls, from their places in dialog units (x * 6 / 4, y * 13 / 8).
click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}

# "Open TVK", then accept the proposed TVK.DAT in the chooser.
click 411 24
chooser="$(xdotool search --sync --onlyvisible --name '.' | grep -v "^$window\$" | tail -n 1)"
xdotool windowactivate --sync "$chooser" 2>/dev/null || true
xdotool key --clearmodifiers Return
sleep 1

# Select the first row with the mouse, then walk down to the sunset with the keyboard.
click 120 22
xdotool key Down
sleep 0.5

# Keep the pointer away from the picture.
xdotool mousemove 5 595
sleep 0.5

mkdir -p "$(dirname "$output")"
import -window root /tmp/tvk-edit-screen.png
# The frame: the window manager's parent of the client window.
frame="$(xwininfo -children -id "$window" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')"
geometry="$(xwininfo -id "$frame" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}')"
convert /tmp/tvk-edit-screen.png -crop "$geometry" +repage "$output"
rm -f /tmp/tvk-edit-screen.png
echo "$output ($geometry)"
