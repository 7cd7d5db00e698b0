#!/bin/bash
# Checks the Windows zip: exactly the programs and the documentation, programs that need no DLL
# beyond Windows' own and carry the version, and (under Wine, in the given prefix) tvk.exe runs.
# Usage: check-zip.sh ZIP VERSION WINE_PREFIX
set -u
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/windows-wine.sh"
zip=$1
version=$2
top=tvk-edit-$version-win64
files=$(printf "$top/%s\n" TVK_Edit.exe tvk.exe README.md LICENSE.txt CHANGELOG.md examples/TVK.DAT \
    docs/user-guide.md docs/archive-format.md docs/images/tvk-edit-linux.png docs/images/tvk-edit-windows.png)
expect_equal "files in the zip" "$(LC_ALL=C sort <<<"$files")" \
    "$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch" || fail "the zip cannot be unpacked"
# The DLLs that every Windows has; anything else would have to be shipped beside the programs.
system_dlls=" advapi32 comctl32 comdlg32 gdi32 gdiplus kernel32 msvcrt ole32 shell32 user32 "
for exe in "$scratch/$top"/*.exe; do
    for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: \(.*\)\.[dD][lL][lL]$/\1/p'); do
        [[ $system_dlls == *" ${dll,,} "* ]] || fail "$exe needs $dll.dll, which Windows lacks"
    done
    [[ $(strings -el "$exe" | grep -A1 -x FileVersion | sed -n 2p) == "$version"* ]] ||
        fail "$exe does not carry version $version"
done
use_wine_prefix "$3"
tvk() { wine "$scratch/$top/tvk.exe" "$@" 2>/dev/null | tr -d '\r'; }
expect_equal "tvk.exe --version" "tvk $version" "$(tvk --version)"
finish
