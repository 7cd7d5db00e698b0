#!/bin/bash
# Checks the user documentation and the man pages (as the build configured them) against the
# sources: every relative link and anchor resolves, every message the editors can show is explained,
# the guide and tvk(1) list exactly tvk's commands and options, and groff has nothing to warn about.
# Usage: docs-test.sh SOURCE_DIR MAN_DIR VERSION TVK_PROGRAM
set -u
source "$(dirname "$0")/lib.sh"
source_dir=$1
man_dir=$2
tvk=$4
guide=$source_dir/docs/user-guide.md

for markdown in "$source_dir"/docs/*.md "$source_dir/CHANGELOG.md"; do
    for link in $(grep -o '](\([^)]*\))' "$markdown" | sed 's/^](//; s/)$//' | grep -v '^[a-z]*:'); do
        target=$(dirname "$markdown")/${link%%#*}
        [[ $link == \#* ]] && target=$markdown
        [[ -e $target ]] || { fail "$markdown links to $link, which does not exist"; continue; }
        # The anchor of a heading: lower case, punctuation dropped, blanks as hyphens.
        [[ $link != *#* ]] || sed -n 's/^#\{1,6\} //p' "$target" | tr '[:upper:]' '[:lower:]' |
            sed 's/[^a-z0-9 _-]//g; s/ /-/g' | grep -qx -- "${link#*#}" || fail "$markdown links to $link, which has no heading"
    done
done

# The texts of the message boxes, each explained in the guide and both man pages.
while IFS= read -r message; do
    grep -qF -- "| $message |" "$guide" || fail "the user guide does not explain \"$message\""
    grep -qxF -- ".B $message" "$man_dir/tvk.1" && grep -qxF -- ".B $message" "$man_dir/tvk-edit.1" ||
        fail "a man page does not explain \"$message\""
done < <(grep -v -e kMessageTitle -e kDefaultArchiveName "$source_dir/editor/messages.h" |
    sed -n 's/.*string_view k[A-Za-z]* = "\(.*\)";/\1/p')

commands=$(tvk_help_commands "$tvk")
expect_equal "commands in the user guide" "$commands" "$(sed -n 's/^| `tvk \([a-z]*\) .*/\1/p' "$guide" | LC_ALL=C sort | paste -sd' ')"
expect_equal "commands in tvk(1)" "$commands" "$(sed -n '/^\.SH COMMANDS/,/^\.SH [^C]/s/^\.B[IR] "\([a-z]*\) .*/\1/p' \
    "$man_dir/tvk.1" | LC_ALL=C sort | paste -sd' ')"
for option in $("$tvk" --help | sed -n '/^Options:/,/^$/s/^  \(--[a-z]*\).*/\1/p'); do
    grep -qF -- "${option//-/\\-}" "$man_dir/tvk.1" || fail "tvk(1) does not document $option"
done
for page in "$man_dir"/tvk.1 "$man_dir"/tvk-edit.1; do
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [[ -z $warnings ]] || fail "$page: groff says: $warnings"
    [[ $(head -n1 "$page") == *"\"TVK Edit $3\""* ]] || fail "$page does not carry version $3"
    [[ $(groff -man -Tutf8 "$page" 2>/dev/null) != *@*@* ]] || fail "$page holds an unexpanded @VARIABLE@"
done
finish
