#!/bin/bash
# Drives the bash completion of tvk the way bash does and checks what it offers, and that it offers
# exactly the commands, operands and options that tvk's own help names.
# Usage: completion-test.sh COMPLETION_FILE TVK_PROGRAM
set -u
source "$(dirname "$0")/lib.sh"
PATH=$(dirname "$(realpath "$2")"):$PATH
source "$1"

# The candidates for the last of the given words, as if the cursor stood at its end; sorted.
candidates()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    _tvk
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' '
}

cd "$(mktemp -d)" || exit 1
trap 'rm -rf "$PWD"' EXIT
touch a.dat b.png "my shot.png"
mkdir shots
tvk new e.dat && tvk add e.dat one && tvk add e.dat two && tvk add e.dat three || fail "tvk cannot build an archive"
# Each line: the candidates, then the words typed, the last being completed ('_' when empty).
while IFS='|' read -r expected typed; do
    read -ra words <<<"$typed"
    [[ ${words[-1]} == _ ]] && words[-1]=''
    expect_equal "tvk$typed" "$expected" "$(candidates tvk "${words[@]}")"
done <<'EOF_TABLE'
info insert| in
a.dat| new --force a
shots| unpack --jobs 2 a.dat sh
a.dat| pack shots a
| add a.dat b
b.png| add a.dat -- --title-- b
| export a.dat 0 b.png a
0 1 2| move e.dat 2 _
1| delete e.dat 1
| rename e.dat 0 _
| delete b.png _
EOF_TABLE
expect_equal "a file name with a space" "my shot.png" "$(candidates tvk import a.dat 0 my)"

expect_equal "the commands offered" "$(tvk_help_commands tvk)" "$(printf '%s\n' $_tvk_commands | LC_ALL=C sort | paste -sd' ')"
for command in $_tvk_commands; do
    usage=$(tvk "$command" --help | sed -n "s/^Usage: tvk $command //p")
    kinds=$(sed -E 's/ *\[--[a-z]+( N)?\]//g; s/[][]//g; s/ARCHIVE|OLD|NEW/archive/g; s/INDEX|FROM|TO/index/g' <<<"$usage" |
        tr '[:upper:]' '[:lower:]')
    expect_equal "operands of $command" "$kinds" "$(_tvk_argument_kinds "$command")"
    expect_equal "options of $command" "$(grep -o -- '--[a-z]*' <<<"$usage" | LC_ALL=C sort | paste -sd' ')" \
        "$(candidates tvk "$command" -- | tr ' ' '\n' | grep -vx -e -- -e --help | paste -sd' ')"
done
finish
