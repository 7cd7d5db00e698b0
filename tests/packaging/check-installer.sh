#!/bin/bash
# Checks the Windows installer under Wine: a silent install into the given prefix, with and without
# the association, the installed programs, sample and shortcut, and a silent uninstall that takes
# them all away again. What it carries is what the zip carries (checked there): CPack makes both
# from the same install rules.
# Usage: check-installer.sh INSTALLER VERSION WINE_PREFIX
set -u
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/../../scripts/windows-wine.sh"
installer=$1
version=$2

use_wine_prefix "$3"
trap 'wineserver -k 2>/dev/null || true' EXIT
run() { wine "$@" 2>/dev/null | tr -d '\r'; }
# The default value of a registry key; empty when the key or its value is missing.
registry_value() { run reg query "$1" /ve | sed -n 's/.*REG_SZ *//p' | grep -vx '(value not set)'; }
folder="$(winepath -u 'C:\Program Files' 2>/dev/null)/TVK Edit"
shortcut="$(winepath -u 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs' 2>/dev/null)/TVK Edit/TVK Edit.lnk"
command_key='HKLM\Software\Classes\TvkEdit.Archive\shell\open\command'
dat_key='HKLM\Software\Classes\.dat'
[[ ! -e $folder ]] || { fail "TVK Edit is installed in $3 before the install"; finish; }

# Installs silently with the given options, checks the programs, the shortcut and the association,
# and uninstalls. The uninstaller runs in place (_?=) so that it is done when it returns.
install_and_remove()
{
    local expected_command=
    [[ $* == /ASSOCIATE ]] && expected_command='"C:\Program Files\TVK Edit\TVK_Edit.exe" "%1"'
    run "$installer" /S "$@" && wineserver -w || fail "the silent install ($*) fails"
    expect_file "$shortcut"
    expect_equal "installed tvk.exe --version" "tvk $version" "$(run "$folder/tvk.exe" --version)"
    run "$folder/tvk.exe" verify 'C:\Program Files\TVK Edit\examples\TVK.DAT' >/dev/null ||
        fail "the installed tvk.exe refuses the installed sample archive"
    expect_equal "the open command for TVK.DAT ($*)" "$expected_command" "$(registry_value "$command_key")"
    [[ -z $expected_command ]] || run reg query "$dat_key\\OpenWithProgids" /v TvkEdit.Archive >/dev/null ||
        fail "TVK Edit is not offered for opening .dat files"
    # Another program owns .dat: TVK Edit is offered for it, never made the default.
    expect_equal "the default program for .dat files" Other.Data "$(registry_value "$dat_key")"
    run "$folder/Uninstall.exe" /S '_?=C:\Program Files\TVK Edit' && wineserver -w || fail "the uninstall fails"
    local left
    left=$(cd "$folder" 2>/dev/null && find . -type f ! -name Uninstall.exe)
    [[ -z $left && ! -e $shortcut && -z $(registry_value "$command_key") ]] ||
        fail "the uninstall leaves $left $shortcut $(registry_value "$command_key")"
    rm -rf "$folder"
}
run reg add "$dat_key" /ve /d Other.Data /f >/dev/null
install_and_remove
install_and_remove /ASSOCIATE
expect_equal "the default program for .dat files after the uninstall" Other.Data "$(registry_value "$dat_key")"
run reg delete "$dat_key" /f >/dev/null
finish
