#!/bin/bash
# Checks the man pages as the build configured them: groff has nothing to warn about, they carry
# the project's version, and tvk(1) documents exactly the commands and options that tvk has.
# Usage: man-pages-test.sh MAN_DIR VERSION TVK_PROGRAM
set -u
source "$(dirname "$0")/lib.sh"

man_dir=$1
version=$2
tvk=$3

for page in tvk.1 tvk-edit.1; do
    file=$man_dir/$page
    expect_file "$file"
    [[ -f $file ]] || continue
    warnings=$(groff -man -ww -z "$file" 2>&1)
    [[ -z $warnings ]] || fail "$page: groff says: $warnings"
    [[ $(head -n1 "$file") == *"\"TVK Edit $version\""* ]] || fail "$page does not carry version $version"
    # The rendered page is what a reader sees: no unexpanded build variables in it.
    [[ $(groff -man -Tutf8 "$file" 2>/dev/null) != *@*@* ]] || fail "$page holds an unexpanded @VARIABLE@"
done

# Each command's entry starts with its name in bold, as in: .BI "list " ARCHIVE
documented=$(sed -n '/^\.SH COMMANDS/,/^\.SH [^C]/s/^\.B[IR] "\([a-z]*\) .*/\1/p' "$man_dir/tvk.1" |
    LC_ALL=C sort | paste -sd' ')
expect_equal "commands documented in tvk(1)" "$(tvk_help_commands "$tvk")" "$documented"

for option in $(tvk_help_options "$tvk"); do
    grep -qF -- "${option//-/\\-}" "$man_dir/tvk.1" || fail "tvk(1) does not document $option"
done

finish
