#!/bin/bash
# Validates the desktop integration by the freedesktop.org tools: the desktop entry, the file type it
# opens (the archive's name in any case, nothing broader: .dat belongs to countless other programs)
# and the AppStream metadata, and how they refer to one another.
# Usage: desktop-entry-test.sh DESKTOP_FILE MIME_XML METAINFO_XML
set -u
source "$(dirname "$0")/lib.sh"
for tool in desktop-file-validate update-mime-database appstreamcli; do
    command -v $tool >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/mime/packages"
cp "$2" "$scratch/mime/packages/tvk-edit.xml"
report=$(desktop-file-validate "$1" 2>&1; XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" 2>&1;
    appstreamcli validate --no-net --no-color "$3" 2>&1 | grep '^[EW]:')
[[ -z $report ]] || fail "the validators say: $report"
expect_equal "Exec MimeType Categories" "tvk-edit %f application/x-tvk-archive; Graphics;" \
    "$(desktop_value "$1" Exec) $(desktop_value "$1" MimeType) $(desktop_value "$1" Categories)"
expect_equal "the type's globs" "60:application/x-tvk-archive:tvk.dat" "$(grep -v '^#' "$scratch/mime/globs2")"
grep -q "<launchable type=\"desktop-id\">$(basename "$1")</launchable>" "$3" || fail "$3 does not launch $1"
grep -q "<mediatype>application/x-tvk-archive</mediatype>" "$3" || fail "$3 does not name the archive type"
finish
