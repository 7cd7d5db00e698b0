# Helpers shared by the packaging checks: count failures, check an installed tree.
# Sourced by the check scripts; each check reports every problem it finds, then finish() exits.

failures=0

fail()
{
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

expect_file()
{
    [[ -f $1 ]] || fail "missing file $1"
}

expect_equal()
{
    local what=$1 expected=$2 actual=$3
    [[ $expected == "$actual" ]] || fail "$what: expected '$expected', got '$actual'"
}

finish()
{
    if ((failures > 0)); then
        echo "$failures check(s) failed" >&2
        exit 1
    fi
    echo "all checks passed"
}

# The width and height stored in a PNG file's header, as "W H".
png_size()
{
    local -a bytes
    read -ra bytes < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(((bytes[0] << 24) | (bytes[1] << 16) | (bytes[2] << 8) | bytes[3])) \
$(((bytes[4] << 24) | (bytes[5] << 16) | (bytes[6] << 8) | bytes[7]))"
}

# The value of KEY in the [Desktop Entry] group of a desktop file.
desktop_value()
{
    sed -n "/^\[Desktop Entry\]/,/^\[/s/^$2=//p" "$1"
}

# The absolute paths that the FILES section of a man page names.
man_page_files()
{
    zcat -f "$1" | sed -n '/^\.SH FILES/,/^\.SH/p' | grep -o '/usr/[^[:space:]\\]*'
}

# Relative links of a Markdown file ([text](path) and ![alt](path)), without anchors.
markdown_relative_links()
{
    grep -o '](\([^)]*\))' "$1" | sed 's/^](//; s/)$//; s/#.*//' | grep -v -e '^[a-z]*:' -e '^$'
}

# The version of the newest entry of a Debian changelog, compressed or not.
debian_changelog_version()
{
    zcat -f "$1" | sed -n '1s/^[a-z0-9.+-]* (\([^)]*\)).*/\1/p'
}

# The version of the newest release that AppStream metadata lists.
metainfo_release_version()
{
    grep -o '<release version="[^"]*"' "$1" | head -n1 | sed 's/.*"\(.*\)"/\1/'
}

# Checks a tree installed under a prefix (a staging folder, or usr/ of an unpacked package) for
# VERSION: every file the desktop entry, the man pages and the docs point to is where they say.
check_installed_tree()
{
    local root=$1 version=$2
    local share=$root/share

    local program
    for program in tvk tvk-edit; do
        [[ -x $root/bin/$program ]] || fail "$root/bin/$program is missing or not executable"
    done

    local desktop=$share/applications/tvk-edit.desktop
    expect_file "$desktop"
    if [[ -f $desktop ]]; then
        local exec icon
        exec=$(desktop_value "$desktop" Exec)
        icon=$(desktop_value "$desktop" Icon)
        [[ -x $root/bin/${exec%% *} ]] || fail "the desktop entry runs '$exec', which is not installed"
        local size
        for size in 16 32 48 256; do
            local png=$share/icons/hicolor/${size}x${size}/apps/$icon.png
            expect_file "$png"
            [[ -f $png ]] && expect_equal "size of $png" "$size $size" "$(png_size "$png")"
        done
    fi

    local page
    for page in tvk tvk-edit; do
        local man=$share/man/man1/$page.1.gz
        expect_file "$man"
        [[ -f $man ]] || continue
        local warnings
        warnings=$(zcat "$man" | groff -man -ww -z 2>&1)
        [[ -z $warnings ]] || fail "$man: groff says: $warnings"
        local named
        for named in $(man_page_files "$man"); do
            [[ -e $root/${named#/usr/} ]] || fail "$page(1) names $named, which is not installed"
        done
    done

    expect_file "$share/bash-completion/completions/tvk"

    # Every file type the desktop entry claims is defined by the installed MIME package, and the
    # AppStream metadata launches that entry.
    local mime=$share/mime/packages/tvk-edit.xml
    expect_file "$mime"
    local type
    if [[ -f $desktop && -f $mime ]]; then
        for type in $(desktop_value "$desktop" MimeType | tr ';' ' '); do
            grep -q "<mime-type type=\"$type\">" "$mime" || fail "no installed MIME package defines $type"
        done
    fi
    local metainfo=$share/metainfo/io.github.tvk_edit.TvkEdit.metainfo.xml
    expect_file "$metainfo"
    if [[ -f $metainfo ]]; then
        grep -q "<launchable type=\"desktop-id\">$(basename "$desktop")</launchable>" "$metainfo" ||
            fail "$metainfo does not launch $(basename "$desktop")"
        expect_equal "newest release in $metainfo" "$version" "$(metainfo_release_version "$metainfo")"
    fi

    local docs=$share/doc/tvk-edit
    local doc
    for doc in copyright changelog.gz README.md CHANGELOG.md docs/user-guide.md \
        docs/archive-format.md examples/TVK.DAT; do
        expect_file "$docs/$doc"
    done
    [[ -f $docs/changelog.gz ]] && expect_equal "newest entry of the Debian changelog" "$version" \
        "$(debian_changelog_version "$docs/changelog.gz")"
    if [[ -f $docs/copyright ]]; then
        expect_equal "first line of the copyright file" \
            "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
            "$(head -n1 "$docs/copyright")"
        grep -q '^ Permission is hereby granted' "$docs/copyright" ||
            fail "the copyright file lacks the licence text"
    fi
    # The sample is a sound archive with screens to look at.
    if [[ -f $docs/examples/TVK.DAT && -x $root/bin/tvk ]]; then
        "$root/bin/tvk" verify "$docs/examples/TVK.DAT" >/dev/null ||
            fail "tvk verify refuses the installed sample archive"
        [[ -n $("$root/bin/tvk" list "$docs/examples/TVK.DAT") ]] || fail "the sample archive is empty"
    fi
    local markdown link
    for markdown in "$docs"/docs/*.md; do
        [[ -f $markdown ]] || continue
        for link in $(markdown_relative_links "$markdown"); do
            [[ -e $(dirname "$markdown")/$link ]] ||
                fail "$markdown links to $link, which is not installed beside it"
        done
    done

    # Nothing but programs and shared data: no libraries, headers or test programs.
    local stray
    stray=$(cd "$root" && find . -type f ! -path './bin/tvk' ! -path './bin/tvk-edit' \
        ! -path './share/*')
    [[ -z $stray ]] || fail "unexpected files installed: $stray"
}

# The commands that `tvk --help` lists, sorted, one line.
tvk_help_commands()
{
    "$1" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\) .*/\1/p' | LC_ALL=C sort | paste -sd' '
}

# The options that `tvk --help` lists.
tvk_help_options()
{
    "$1" --help | sed -n '/^Options:/,/^$/s/^  \(--[a-z]*\).*/\1/p'
}

# The texts of editor/messages.h that the user can see in a message box.
user_messages()
{
    grep -v -e kMessageTitle -e kDefaultArchiveName "$1" | sed -n 's/.*string_view k[A-Za-z]* = "\(.*\)";/\1/p'
}
