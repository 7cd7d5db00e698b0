#!/bin/bash
# Drives the bash completion of tvk the way bash does and checks what it offers.
# Usage: completion-test.sh COMPLETION_FILE TVK_PROGRAM
set -u
source "$(dirname "$0")/lib.sh"

completion=$1
tvk=$2
PATH=$(dirname "$tvk"):$PATH
source "$completion"

# Completes the last of the given words, as if the cursor stood at its end.
complete_words()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    _tvk
}

# The candidates for the last word, sorted, on one line.
candidates()
{
    complete_words "$@"
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd' '
}

# The kinds of the operands that tvk's usage names, in the completion's words.
operand_kinds()
{
    local operand
    for operand in "$@"; do
        case $operand in
            ARCHIVE | OLD | NEW) echo archive ;;
            INDEX | FROM | TO) echo index ;;
            NAME) echo name ;;
            IMAGE) echo image ;;
            PNG) echo png ;;
            DIR) echo dir ;;
            *) echo "unknown-$operand" ;;
        esac
    done | paste -sd' '
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.dat b.png shots.txt "my shot.png"
mkdir shots

expect_equal "commands after 'ex'" "export" "$(candidates tvk ex)"
expect_equal "commands after 'in'" "info insert" "$(candidates tvk in)"
expect_equal "options of the tool" "--help --version" "$(candidates tvk --)"
expect_equal "options of new" "-- --force --help" "$(candidates tvk new --)"
expect_equal "options of unpack" "-- --force --help --jobs --rgb" "$(candidates tvk unpack --)"
expect_equal "options of sheet" "-- --help --jobs --rgb" "$(candidates tvk sheet --)"
expect_equal "a number of threads" "1" "$(candidates tvk unpack --jobs 1)"
expect_equal "the folder after --jobs N" "shots" "$(candidates tvk unpack --jobs 2 a.dat sh)"
expect_equal "options of list" "-- --help" "$(candidates tvk list --)"
expect_equal "an archive" "a.dat" "$(candidates tvk list a)"
expect_equal "an archive after an option" "a.dat" "$(candidates tvk new --force a)"
expect_equal "only folders for unpack" "shots" "$(candidates tvk unpack a.dat sh)"
expect_equal "the archive that pack writes" "a.dat" "$(candidates tvk pack shots a)"
expect_equal "a name is typed, not completed" "" "$(candidates tvk add a.dat b)"
expect_equal "the image after the name" "b.png" "$(candidates tvk add a.dat title b)"
expect_equal "a name after -- may look like an option" "b.png" \
    "$(candidates tvk add a.dat -- --title-- b)"
expect_equal "nothing after the last argument" "" "$(candidates tvk export a.dat 0 b.png a)"

complete_words tvk import a.dat 0 my
expect_equal "a file name with a space stays one candidate" "1 my shot.png" \
    "${#COMPREPLY[@]} ${COMPREPLY[0]-}"

# Indices come from the archive itself.
tvk new entries.dat && tvk add entries.dat one && tvk add entries.dat two && tvk add entries.dat three ||
    fail "could not build an archive with tvk"
expect_equal "indices of export" "0 1 2" "$(candidates tvk export entries.dat '')"
expect_equal "indices after a digit" "1" "$(candidates tvk delete entries.dat 1)"
expect_equal "both indices of move" "0 1 2" "$(candidates tvk move entries.dat 2 '')"
expect_equal "the name after an index" "" "$(candidates tvk rename entries.dat 0 '')"
expect_equal "no indices without an archive" "" "$(candidates tvk delete missing.dat '')"
expect_equal "no indices from a file that is not an archive" "" \
    "$(candidates tvk delete shots.txt '')"

# The completion offers exactly the commands and options that tvk has.
expect_equal "the commands offered" "$(tvk_help_commands tvk)" \
    "$(printf '%s\n' $_tvk_commands | LC_ALL=C sort | paste -sd' ')"
for command in $_tvk_commands; do
    usage=$(tvk "$command" --help 2>&1) || fail "the completion offers '$command', which tvk does not know"
    operands=$(sed -n "s/^Usage: tvk $command //p" <<<"$usage" | sed -E 's/ *\[--[a-z]+( N)?\]//g; s/[][]//g')
    expect_equal "arguments of $command" "$(operand_kinds $operands)" "$(_tvk_argument_kinds "$command")"
    offered=$(candidates tvk "$command" --f)
    if [[ $usage == *"[--force]"* ]]; then
        expect_equal "--force of $command" "--force" "$offered"
    else
        expect_equal "--force of $command" "" "$offered"
    fi
done

finish
