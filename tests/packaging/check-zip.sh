#!/bin/bash
# Checks the Windows zip: exactly the programs and the documentation, programs that need no DLL
# beyond Windows' own, the version in their resources, and (under Wine, in the given prefix) a
# working tvk.exe.
# Usage: check-zip.sh ZIP VERSION WINE_PREFIX
set -u
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/windows-wine.sh"

zip=$1
version=$2
prefix=$3
top=tvk-edit-$version-win64

expected=$(printf "$top/%s\n" TVK_Edit.exe tvk.exe README.md LICENSE.txt CHANGELOG.md examples/TVK.DAT \
    docs/user-guide.md docs/archive-format.md docs/images/tvk-edit-linux.png \
    docs/images/tvk-edit-windows.png | LC_ALL=C sort)
expect_equal "files in the zip" "$expected" "$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch" || fail "the zip cannot be unpacked"
folder=$scratch/$top

# The DLLs that every Windows has; anything else would have to be shipped beside the programs.
system_dlls="advapi32 comctl32 comdlg32 gdi32 gdiplus kernel32 msvcrt ole32 shell32 user32"
for program in TVK_Edit.exe tvk.exe; do
    exe=$folder/$program
    [[ -f $exe ]] || continue
    [[ $(head -c2 "$exe") == MZ ]] || fail "$program is not a Windows program"
    for dll in $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: \(.*\)\.[dD][lL][lL]$/\1/p'); do
        [[ " $system_dlls " == *" ${dll,,} "* ]] || fail "$program needs $dll.dll, which Windows lacks"
    done
    for key in FileVersion ProductVersion; do
        value=$(strings -el "$exe" | grep -A1 -x "$key" | sed -n 2p)
        [[ $value == "$version"* ]] || fail "$program's $key is '$value', not $version"
    done
done

if command -v wine >/dev/null; then
    # A console program: no display needed. The prefix is the project's own, which no other
    # program's Wine session can disturb.
    use_wine_prefix "$prefix"
    tvk()
    {
        wine "$folder/tvk.exe" "$@" 2>/dev/null | tr -d '\r'
    }
    expect_equal "tvk.exe --version" "tvk $version" "$(tvk --version)"
    cd "$scratch" || exit 1
    [[ -f $top/examples/TVK.DAT ]] && { tvk verify "$top/examples/TVK.DAT" >/dev/null ||
        fail "tvk.exe refuses the sample archive"; }
    tvk new TVK.DAT
    tvk add TVK.DAT title
    expect_equal "tvk.exe list" $'0\t00000cc6\ttitle' "$(tvk list TVK.DAT)"
else
    echo "wine is not installed: tvk.exe is not run"
fi

finish
