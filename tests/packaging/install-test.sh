#!/bin/bash
# Installs the build into a staging folder, checks the installed tree and runs the installed tvk.
# Usage: install-test.sh BUILD_DIR VERSION
set -u
source "$(dirname "$0")/lib.sh"

build=$1
version=$2
stage=$(mktemp -d)
trap 'rm -rf "$stage" "$stage.log"' EXIT

if ! cmake --install "$build" --prefix "$stage" >"$stage.log" 2>&1; then
    cat "$stage.log" >&2
    fail "cmake --install failed"
    finish
fi

check_installed_tree "$stage" "$version"

tvk=$stage/bin/tvk
if [[ -x $tvk ]]; then
    missing=$(ldd "$tvk" "$stage/bin/tvk-edit" 2>&1 | grep 'not found')
    [[ -z $missing ]] || fail "installed programs miss libraries: $missing"

    [[ $("$tvk" --version) == *"$version"* ]] || fail "tvk --version does not say $version"

    # A short session on an archive with the installed tool.
    work=$stage/work
    mkdir -p "$work"
    "$tvk" new "$work/TVK.DAT" || fail "tvk new failed"
    "$tvk" add "$work/TVK.DAT" title || fail "tvk add failed"
    "$tvk" add "$work/TVK.DAT" "level 1" || fail "tvk add failed"
    expect_equal "tvk list" $'0\t00000cc6\ttitle\n1\t00001d36\tlevel 1' \
        "$("$tvk" list "$work/TVK.DAT")"
    "$tvk" verify "$work/TVK.DAT" || fail "tvk verify refuses the archive tvk wrote"
    expect_equal "size of a two-entry archive" 33216 "$(stat -c %s "$work/TVK.DAT")"
fi

finish
