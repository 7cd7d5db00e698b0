#!/bin/bash
# Validates the desktop integration: the desktop entry, the file type it opens and the AppStream
# metadata, each by the freedesktop.org tools, and how they refer to one another.
# Usage: desktop-entry-test.sh DESKTOP_FILE MIME_XML METAINFO_XML
set -u
source "$(dirname "$0")/lib.sh"

desktop=$1
mime=$2
metainfo=$3
for tool in desktop-file-validate update-mime-database appstreamcli; do
    if ! command -v $tool >/dev/null; then
        echo "$tool is not installed (packages desktop-file-utils, shared-mime-info, appstream): skipped"
        exit 77
    fi
done

report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate refuses $desktop"
[[ -z $report ]] || fail "desktop-file-validate says: $report"
[[ ";$(desktop_value "$desktop" Categories)" == *";Graphics;"* ]] ||
    fail "the entry is not in the Graphics category"
# A double click on an archive starts the editor with that one file.
expect_equal "Exec" "tvk-edit %f" "$(desktop_value "$desktop" Exec)"
expect_equal "MimeType" "application/x-tvk-archive;" "$(desktop_value "$desktop" MimeType)"

# The MIME database built from the package's XML alone matches the archive's name in any case,
# and nothing broader: .dat belongs to countless other programs.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/mime/packages"
cp "$mime" "$scratch/mime/packages/tvk-edit.xml"
XDG_DATA_DIRS=$scratch update-mime-database "$scratch/mime" >"$scratch/log" 2>&1 ||
    fail "update-mime-database refuses $mime: $(cat "$scratch/log")"
[[ -s $scratch/log ]] && fail "update-mime-database says: $(cat "$scratch/log")"
expect_equal "the type's globs" "60:application/x-tvk-archive:tvk.dat" \
    "$(grep -v '^#' "$scratch/mime/globs2" 2>/dev/null)"

# AppStream validation without the network; warnings count as failures, hints do not.
if ! report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1); then
    fail "appstreamcli refuses $metainfo: $report"
elif grep -q '^[EW]:' <<<"$report"; then
    fail "appstreamcli says: $report"
fi
grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
    fail "$metainfo does not launch $(basename "$desktop")"
grep -q "<mediatype>application/x-tvk-archive</mediatype>" "$metainfo" ||
    fail "$metainfo does not say the program opens application/x-tvk-archive"

finish
