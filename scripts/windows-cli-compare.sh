#!/usr/bin/env bash
# Runs the same tvk commands with the native tvk and with tvk.exe under Wine, on archives and
# pictures made here, and fails when they disagree: the archives they write must be byte for byte
# the same, their listings the same, their exported pictures the same pixels, and their refusals
# the same messages and exit statuses.
# usage: scripts/windows-cli-compare.sh NATIVE_TVK TVK_EXE WORK_DIR
set -euo pipefail
native_tvk="$(realpath "$1")"
windows_tvk="$(realpath "$2")"
work="$3"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
# Names on the command line are UTF-8; Wine reads them through the locale.
export LC_ALL=C.UTF-8
export WINEDEBUG=-all

# Two pictures: 120 x 112 with 48 colours, and one a pixel too wide.
python3 - <<'PY'
import struct, zlib

def write_png(name, width, height, colour):
    rows = b"".join(b"\0" + b"".join(bytes(colour(x, y)) for x in range(width))
                    for y in range(height))
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    with open(name, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                   chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))

def banded(x, y):
    band = (x // 10 + y // 16 * 12) % 48
    return (band * 5, 255 - band * 3, (band * 37) % 256)

write_png("bands.png", 120, 112, banded)
write_png("wide.png", 121, 112, banded)
PY

failures=0
differ() {
    echo "DIFFERENT: $*"
    failures=$((failures + 1))
}

# Runs one tvk command with both tools; each works on its own copy of the archive (n.dat, w.dat).
# The outputs and exit statuses go to n.out/w.out and n.status/w.status.
both() {
    local status
    status=0
    "$native_tvk" "$@" >n.out 2>n.err || status=$?
    echo "$status" >n.status
    local args=("$@")
    args=("${args[@]//n.dat/w.dat}")
    args=("${args[@]//native-/windows-}")
    status=0
    wine "$windows_tvk" "${args[@]}" >w.out 2>w.err || status=$?
    echo "$status" >w.status
    cmp -s n.status w.status || differ "exit status of tvk $1: $(cat n.status) and $(cat w.status)"
    cmp -s n.out w.out || differ "output of tvk $1"
    cmp -s n.err w.err || differ "messages of tvk $1: $(cat n.err) / $(cat w.err)"
}

both new n.dat
both add n.dat Alpha
both add n.dat "café" bands.png
both add n.dat Gamma
both import n.dat 2 bands.png
both import n.dat 0 wide.png
both add n.dat Alpha
cmp -s n.dat w.dat || differ "the archives written"
both list n.dat
both export n.dat 1 native-1.png
# The exported pictures, read back by the native tool, must give the same screen.
cp n.dat from-native.dat
cp n.dat from-windows.dat
"$native_tvk" import from-native.dat 0 native-1.png
"$native_tvk" import from-windows.dat 0 windows-1.png
cmp -s from-native.dat from-windows.dat || differ "the exported pictures"
# The contact sheet is written by tvk's own PNG writer: the same file from both, in either form and
# for any number of threads.
both sheet n.dat native-sheet.png
cmp -s native-sheet.png windows-sheet.png || differ "the sheets"
both sheet --rgb --jobs 3 n.dat native-rgb-sheet.png
cmp -s native-rgb-sheet.png windows-rgb-sheet.png || differ "the RGB sheets"
# diff of two archives each tool wrote, and the messages of a mistyped command and option.
cp n.dat old-n.dat
cp w.dat old-w.dat
both rename n.dat 1 "Beta"
both move n.dat 0 2
both diff old-n.dat n.dat
both lsit n.dat
both list -x n.dat

if [ "$failures" -ne 0 ]; then
    echo "tvk.exe and the native tvk disagree $failures time(s); the files are in $work"
    exit 1
fi
echo "tvk.exe and the native tvk agree on new, add, import, list, export, sheet and diff"
