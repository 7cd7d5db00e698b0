#!/bin/bash
# Checks the user documentation against the sources: every relative link and anchor resolves,
# every message the editors can show is explained, and the guide lists exactly tvk's commands.
# Usage: docs-test.sh SOURCE_DIR TVK_PROGRAM
set -u
source "$(dirname "$0")/lib.sh"

source_dir=$1
tvk=$2
guide=$source_dir/docs/user-guide.md

# The anchor that a Markdown heading gets: lower case, punctuation dropped, blanks as hyphens.
heading_anchors()
{
    sed -n 's/^#\{1,6\} //p' "$1" | tr '[:upper:]' '[:lower:]' | sed 's/[^a-z0-9 _-]//g; s/ /-/g'
}

for markdown in "$source_dir"/docs/*.md "$source_dir/CHANGELOG.md"; do
    for link in $(grep -o '](\([^)]*\))' "$markdown" | sed 's/^](//; s/)$//' | grep -v '^[a-z]*:'); do
        target=${link%%#*}
        anchor=${link#"$target"}
        anchor=${anchor#\#}
        target_file=$markdown
        if [[ -n $target ]]; then
            target_file=$(dirname "$markdown")/$target
            [[ -e $target_file ]] || { fail "$markdown links to $target, which does not exist"; continue; }
        fi
        if [[ -n $anchor ]] && ! heading_anchors "$target_file" | grep -qx -- "$anchor"; then
            fail "$markdown links to #$anchor, which $target_file has no heading for"
        fi
    done
done

while IFS= read -r message; do
    grep -qF -- "| $message |" "$guide" || fail "the user guide does not explain \"$message\""
    for page in tvk.1 tvk-edit.1; do
        grep -qxF -- ".B $message" "$source_dir/packaging/man/$page" ||
            fail "$page does not explain \"$message\""
    done
done < <(user_messages "$source_dir/editor/messages.h")

listed=$(sed -n 's/^| `tvk \([a-z]*\) .*/\1/p' "$guide" | LC_ALL=C sort | paste -sd' ')
expect_equal "commands in the user guide" "$(tvk_help_commands "$tvk")" "$listed"

finish
