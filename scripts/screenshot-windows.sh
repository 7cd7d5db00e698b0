#!/usr/bin/env bash
# Takes the screenshot of TVK_Edit.exe for the documentation: starts a virtual X display with a
# small window manager, runs build-windows/TVK_Edit.exe under Wine, opens the sample archive
# through the real file dialog, selects a row and saves the window, frame included, as
# docs/images/tvk-edit-windows.png.
# usage: scripts/screenshot-windows.sh [NATIVE_BUILD_DIR [FONT OUTPUT]]
#   (default: build; its sample/TVK.DAT comes from `cmake --build --preset default`)
#   FONT: draw the dialog in this font instead of Wine's own, in a prefix of its own, and save the
#   screenshot as OUTPUT; shows the window as a machine with other fonts shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
source scripts/deps.sh
source scripts/virtual-display.sh
source scripts/windows-wine.sh
need_packages xvfb xdotool x11-utils imagemagick openbox "${MINGW_PACKAGES[@]}" "${WINE_PACKAGES[@]}" python3

native="$(cd "${1:-build}" && pwd)"
sample="$native/sample/TVK.DAT"
build="$root/build-windows"
output="$root/docs/images/tvk-edit-windows.png"
font="${2:-}"
if [ -n "$font" ]; then
    output="$(realpath -m "$3")"
fi
if [ ! -f "$sample" ]; then
    echo "Build the sample archive first: cmake --build --preset default" >&2
    exit 1
fi
cmake --preset windows >/dev/null
cmake --build --preset windows --target TVK_Edit

# A prefix of its own: here a window manager frames the windows, unlike on the test displays.
if [ -z "$font" ]; then
    use_wine_prefix "$build/wine-prefix-screenshot"
else
    use_wine_prefix "$build/wine-prefix-screenshot-${font// /-}"
    # The dialog font's name stands for this font instead of Wine's Tahoma.
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v 'MS Shell Dlg' /t REG_SZ /d "$font" /f >/dev/null 2>&1
    wineserver -w
fi

trap 'wineserver -k 2>/dev/null || true; kill_started' EXIT
start_virtual_display

wine "$build/TVK_Edit.exe" >/dev/null 2>&1 &
window="$(xdotool search --sync --onlyvisible --name '^TVK_Edit$' | head -n 1)"
sleep 1

# The dialog's base units from its client size (371 x 227 dialog units, 4 x 8 to a base unit), and
# a click at a place given in dialog units.
read -r client_width client_height < <(xwininfo -id "$window" |
    awk '/Width:/{w=$2} /Height:/{h=$2} END{print w, h}')
unit_x=$(((client_width * 4 + 185) / 371))
unit_y=$(((client_height * 8 + 113) / 227))
echo "Dialog base units: $unit_x x $unit_y"
click() {
    xdotool mousemove --window "$window" $(($1 * unit_x / 4)) $(($2 * unit_y / 8)) click 1
    sleep 0.5
}

# "Open TVK"; the dialog proposes TVK.DAT in the folder it used last, so give the whole path.
click 274 15
chooser="$(xdotool search --sync --onlyvisible --name '^Open$' | head -n 1)"
xdotool windowactivate --sync "$chooser" 2>/dev/null || true
sleep 0.5
xdotool key --clearmodifiers ctrl+a
xdotool type --delay 5 "$(winepath -w "$sample")"
xdotool key Return
sleep 1.5

# Select the first row with the mouse, then walk down to the sunset with the keyboard.
click 100 12
xdotool key Down
sleep 0.5

# Keep the pointer away from the picture.
xdotool mousemove 5 595
sleep 0.5

mkdir -p "$(dirname "$output")"
shot="$(mktemp --suffix=.png)"
import -window root "$shot"
# The frame: the window manager's parent of the client window.
frame="$(xwininfo -children -id "$window" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p')"
geometry="$(xwininfo -id "$frame" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
    /Width:/{w=$2} /Height:/{h=$2} END{print w "x" h "+" x "+" y}')"
convert "$shot" -crop "$geometry" +repage "$output"
rm -f "$shot"
echo "$output ($geometry)"
