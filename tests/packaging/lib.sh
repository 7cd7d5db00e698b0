# Helpers shared by the packaging checks: count failures, check an installed tree.
# Sourced by the check scripts; each check reports every problem it finds, then finish() exits.

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_file() { [[ -f $1 ]] || fail "missing file $1"; }
expect_equal() { [[ $2 == "$3" ]] || fail "$1: expected '$2', got '$3'"; }
finish() { ((failures == 0)) || { echo "$failures check(s) failed" >&2; exit 1; }; echo "all checks passed"; }

# The value of KEY in the [Desktop Entry] group of a desktop file.
desktop_value() { sed -n "/^\[Desktop Entry\]/,/^\[/s/^$2=//p" "$1"; }

# The commands that `tvk --help` lists, sorted, on one line.
tvk_help_commands() { "$1" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z]*\) .*/\1/p' | LC_ALL=C sort | paste -sd' '; }

# Checks a tree installed under a prefix (usr/ of an unpacked package) for VERSION: the programs,
# and every file the desktop entry, the man pages and the documentation point to, where they say.
check_installed_tree()
{
    local root=$1 version=$2 share=$1/share
    local desktop=$share/applications/tvk-edit.desktop docs=$share/doc/tvk-edit file
    [[ -x $root/bin/tvk && -x $root/bin/tvk-edit ]] || fail "a program is missing from $root/bin"
    for file in applications/tvk-edit.desktop bash-completion/completions/tvk mime/packages/tvk-edit.xml \
        metainfo/io.github.tvk_edit.TvkEdit.metainfo.xml man/man1/tvk.1.gz man/man1/tvk-edit.1.gz \
        doc/tvk-edit/{copyright,changelog.gz,README.md,CHANGELOG.md,examples/TVK.DAT} \
        doc/tvk-edit/docs/{user-guide,archive-format}.md; do
        expect_file "$share/$file"
    done
    local icon size
    icon=$(desktop_value "$desktop" Icon)
    for size in 16 32 48 256; do
        [[ $(file -b "$share/icons/hicolor/${size}x$size/apps/$icon.png") == *"$size x $size,"* ]] ||
            fail "no $size x $size icon $icon.png"
    done
    for file in $(zcat -f "$share"/man/man1/*.gz | sed -n '/^\.SH FILES/,/^\.SH/p' | grep -o '/usr/[^[:space:]\\]*'); do
        [[ -e $root/${file#/usr/} ]] || fail "a man page names $file, which is not installed"
    done
    for file in $(grep -oh '](\([^)#:]*\))' "$docs"/docs/*.md | sed 's/^](//; s/)$//'); do
        [[ -e $docs/docs/$file ]] || fail "the installed documentation links to $file, which is missing"
    done
    expect_equal "newest Debian changelog entry" "$version" \
        "$(zcat -f "$docs/changelog.gz" | sed -n '1s/^[a-z0-9.+-]* (\([^)]*\)).*/\1/p')"
    expect_equal "newest release in the metadata" "$version" \
        "$(grep -o '<release version="[^"]*"' "$share"/metainfo/*.xml | head -n1 | cut -d'"' -f2)"
    grep -q '^ Permission is hereby granted' "$docs/copyright" || fail "the copyright file lacks the licence text"
    "$root/bin/tvk" verify "$docs/examples/TVK.DAT" >/dev/null || fail "tvk verify refuses the installed sample"
    # Nothing but programs and shared data: no libraries, headers or test programs.
    file=$(cd "$root" && find . -type f ! -path './bin/tvk' ! -path './bin/tvk-edit' ! -path './share/*')
    [[ -z $file ]] || fail "unexpected files installed: $file"
}
