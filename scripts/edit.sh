#!/usr/bin/env bash
# Builds tvk-edit (installing what is missing) and starts it next to the sample archive, so that
# "Open TVK" proposes the sample's TVK.DAT.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}"

cmake --preset default >/dev/null
cmake --build --preset default --target tvk-edit tvk_sample_archive

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "tvk-edit is built (build/tvk-edit), but there is no display to show its window on." >&2
    echo "Run this command from a desktop session (DISPLAY or WAYLAND_DISPLAY must be set)." >&2
    exit 1
fi
cd build/sample
exec ../tvk-edit
