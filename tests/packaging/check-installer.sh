#!/bin/bash
# Checks the Windows installer: what it carries (listed by 7-Zip), then under Wine a silent install
# with the TVK.DAT association into the given prefix, the installed programs, shortcut and registry
# entries, and a silent uninstall that takes them all away again.
# Usage: check-installer.sh INSTALLER VERSION WINE_PREFIX
set -u
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/windows-wine.sh"

installer=$1
version=$2
prefix=$3

[[ $(head -c2 "$installer") == MZ ]] || fail "$installer is not a Windows program"
listing=$(7z l -slt "$installer" 2>&1) || fail "7z cannot read the installer: $listing"
carried=$(sed -n 's/^Path = //p' <<<"$listing" | tr '\\' '/' | grep -v -e '^\$PLUGINSDIR' \
    -e "^${installer##*/}\$" -e "^$installer\$" | LC_ALL=C sort)
expected=$(printf '%s\n' TVK_Edit.exe tvk.exe Uninstall.exe README.md LICENSE.txt CHANGELOG.md examples/TVK.DAT \
    docs/user-guide.md docs/archive-format.md docs/images/tvk-edit-linux.png \
    docs/images/tvk-edit-windows.png | LC_ALL=C sort)
expect_equal "files in the installer" "$expected" "$carried"

if ! command -v wine >/dev/null; then
    fail "wine is not installed: the installer cannot be run"
    finish
fi
use_wine_prefix "$prefix"
trap 'wineserver -k 2>/dev/null || true' EXIT
set -o pipefail
run() { wine "$@" 2>/dev/null | tr -d '\r'; }
# The default value of a registry key; empty when the key or its value is missing.
registry_value() { run reg query "$1" /ve | sed -n 's/.*REG_SZ *//p' | grep -vx '(value not set)'; }

program_files=$(winepath -u 'C:\Program Files' 2>/dev/null)
folder="$program_files/TVK Edit"
shortcut=$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs' 2>/dev/null)/TVK\ Edit/TVK\ Edit.lnk
command_key='HKLM\Software\Classes\TvkEdit.Archive\shell\open\command'
dat_key='HKLM\Software\Classes\.dat'
if [[ -e $folder || -n $(registry_value "$command_key") ]]; then
    fail "TVK Edit is installed in $prefix before the install"
    finish
fi

# Installs silently with the given options, checks the programs and the shortcut, and uninstalls.
# The uninstaller runs in place (_?=) so that it is done when it returns; it leaves only itself.
install_and_remove()
{
    local dat_default
    dat_default=$(registry_value "$dat_key")
    run "$installer" /S "$@" || fail "the silent install ($*) fails"
    wineserver -w
    local file
    for file in TVK_Edit.exe tvk.exe Uninstall.exe LICENSE.txt examples/TVK.DAT; do
        expect_file "$folder/$file"
    done
    expect_file "$shortcut"
    expect_equal "installed tvk.exe --version" "tvk $version" "$(run "$folder/tvk.exe" --version)"
    run "$folder/tvk.exe" verify 'C:\Program Files\TVK Edit\examples\TVK.DAT' >/dev/null ||
        fail "the installed tvk.exe refuses the installed sample archive"
    if [[ " $* " == *" /ASSOCIATE "* ]]; then
        expect_equal "the open command for TVK.DAT" '"C:\Program Files\TVK Edit\TVK_Edit.exe" "%1"' \
            "$(registry_value "$command_key")"
        run reg query "$dat_key\\OpenWithProgids" /v TvkEdit.Archive >/dev/null ||
            fail "TVK Edit is not offered for opening .dat files"
        expect_equal "the default program for .dat files" "$dat_default" "$(registry_value "$dat_key")"
    else
        [[ -z $(registry_value "$command_key") ]] || fail "the install associates TVK.DAT unasked"
    fi

    run "$folder/Uninstall.exe" /S '_?=C:\Program Files\TVK Edit' || fail "the silent uninstall fails"
    wineserver -w
    local left
    left=$(cd "$folder" 2>/dev/null && find . -type f ! -name Uninstall.exe)
    [[ -z $left ]] || fail "the uninstall leaves $left"
    [[ ! -e $shortcut ]] || fail "the uninstall leaves the Start-menu shortcut"
    [[ -z $(registry_value "$command_key") ]] || fail "the uninstall leaves the TVK.DAT association"
    rm -rf "$folder"
}

install_and_remove
# Another program owns .dat and is offered for it too; the association leaves both alone.
run reg add "$dat_key" /ve /d Other.Data /f >/dev/null
run reg add "$dat_key\\OpenWithProgids" /v Other.Data /d '' /f >/dev/null
install_and_remove /ASSOCIATE
expect_equal "the default program for .dat files after the uninstall" Other.Data \
    "$(registry_value "$dat_key")"
run reg query "$dat_key\\OpenWithProgids" /v Other.Data >/dev/null ||
    fail "the uninstall takes away another program's offer for .dat files"
run reg delete "$dat_key" /f >/dev/null

finish
