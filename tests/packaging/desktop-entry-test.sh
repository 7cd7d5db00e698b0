#!/bin/bash
# Validates the desktop entry: the freedesktop.org rules, and no claim on file types.
# Usage: desktop-entry-test.sh DESKTOP_FILE
set -u
source "$(dirname "$0")/lib.sh"

desktop=$1
if ! command -v desktop-file-validate >/dev/null; then
    echo "desktop-file-validate is not installed (package desktop-file-utils): skipped"
    exit 77
fi

report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate refuses $desktop"
[[ -z $report ]] || fail "desktop-file-validate says: $report"

[[ ";$(desktop_value "$desktop" Categories)" == *";Graphics;"* ]] ||
    fail "the entry is not in the Graphics category"
# .DAT is far too broad a type to claim; the editor opens files through its own chooser.
[[ -z $(desktop_value "$desktop" MimeType) ]] || fail "the entry claims file types"
[[ $(desktop_value "$desktop" Exec) != *%* ]] || fail "the entry passes files to a program that takes none"

finish
