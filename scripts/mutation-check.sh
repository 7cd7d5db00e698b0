#!/usr/bin/env bash
# Measures how many realistic faults the native tests catch. Each fault of the list below is put
# into the product code on its own, the native build is rebuilt and the native tests run; the
# fault is "killed" when a test fails and "SURVIVED" when every test passes. The source file is
# restored after each fault, also when the run is interrupted.
#
#   scripts/mutation-check.sh [LABEL-REGEX]
#
# The optional argument reruns only the faults whose label matches the extended regular
# expression. The build lives in build-mutation/ (warnings not fatal, so that a fault may leave an
# unused variable behind). A developer's tool: neither CI nor scripts/test.sh runs it.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$(pwd)
build="$root/build-mutation"
filter="${1:-}"
product_folders=(archive screen editor cli files)

# One fault per line: file ~~ original text (unique in the file, within one line) ~~ replacement
# ~~ label. The faults are chosen by reading the product code, not the tests.
faults=$(
    cat <<'EOF'
archive/record.cpp ~~ return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); ~~ return static_cast<std::uint16_t>(bytes[1] | bytes[0] << 8); ~~ archive: read_u16 big-endian
archive/record.cpp ~~ constexpr std::size_t kWeightPeriod = 25; ~~ constexpr std::size_t kWeightPeriod = 24; ~~ archive: checksum weight period one short
archive/archive_io.cpp ~~ for (std::size_t i = 0; i < kHeaderTailCopies; ++i) { ~~ for (std::size_t i = 1; i < kHeaderTailCopies; ++i) { ~~ archive: one header tail copy missing
archive/archive_io.cpp ~~ write_u16(header + kScreenWidthField, kScreenWidth); ~~ write_u16(header + kScreenWidthField, kScreenHeight); ~~ archive: header width field holds the height
archive/archive_io.cpp ~~ if (record_checksum(header.data(), kRecordChecksumEnd) != read_u32(header.data())) { ~~ if (false) { ~~ archive: header checksum not checked on load
archive/entry_store.cpp ~~ std::swap(m_blocks[i], m_blocks[i + 1]); ~~ (void)i; ~~ archive: swap_neighbours leaves the screens
archive/archive_file.cpp ~~ if (store.count() > kMaxEntries) { ~~ if (store.count() >= kMaxEntries) { ~~ archive: save refuses exactly 1018 entries
archive/atomic_file.cpp ~~ const std::error_code closed = ops.close(temporary, ops.durable && !error); ~~ const std::error_code closed = ops.close(temporary, false); ~~ archive: saved file not flushed before close
archive/atomic_file.cpp ~~ error = ops.cut(opened, bytes.size()); ~~ (void)opened; ~~ archive: file written in place keeps the tail of a longer one
archive/atomic_file.cpp ~~ file = link.is_absolute() ? link : file.parent_path() / link; ~~ file = link; ~~ archive: relative symbolic link taken from the working folder
screen/screen_codec.cpp ~~ unsigned m_next_free = 1; ~~ unsigned m_next_free = 0; ~~ screen: palette numbering starts at 0
screen/screen_codec.cpp ~~ if (m_next_free == kPaletteEntries) { ~~ if (m_next_free == kPaletteEntries - 1) { ~~ screen: 63rd colour refused
screen/screen_codec.cpp ~~ return ((row & kLowBytes) << 8) | ((row >> 8) & kLowBytes); ~~ return row; ~~ screen: stream words kept low byte first
screen/screen_codec.cpp ~~ return grid_index(kTileOrder[2 * t], kTileOrder[2 * t + 1]); ~~ return grid_index(kTileOrder[2 * t + 1], kTileOrder[2 * t]); ~~ screen: tile corner x and y swapped
screen/screen_codec.h ~~ return ((v & 0xFFFF00FFu) << 8) | ((v >> 8) & 0xFFu); ~~ return ((v & 0xFFFF00FFu) << 8) | ((v >> 16) & 0xFFu); ~~ screen: palette entry takes blue for green
screen/tile_order.cpp ~~     112, 96, ~~     112, 80, ~~ screen: last tile's corner wrong
editor/editor_controller.cpp ~~ return rename(); ~~ rename(); ~~ editor: Rename falls through to Add
editor/editor_controller.cpp ~~ if (selected == -1 || selected + 1 >= static_cast<int>(m_store.count())) { ~~ if (selected == -1 || selected + 1 > static_cast<int>(m_store.count())) { ~~ editor: Move Down allowed on the last entry
editor/editor_controller.cpp ~~ if (selected <= 0) { ~~ if (selected < 0) { ~~ editor: Move Up allowed on the first entry
editor/editor_controller.cpp ~~ m_view.warn(error == ArchiveError::not_an_archive ? kNotAnArchive : kCantOpen); ~~ m_view.warn(error == ArchiveError::not_an_archive ? kCantOpen : kNotAnArchive); ~~ editor: open warnings swapped
editor/editor_controller.cpp ~~ if (undone == (edit.kind == EditKind::insert)) { ~~ if (undone != (edit.kind == EditKind::insert)) { ~~ editor: undo of insert and delete shows the wrong rows
editor/entry_editing.cpp ~~ if (store.count() >= kMaxEntries) { ~~ if (store.count() > kMaxEntries) { ~~ editor: a 1019th entry may be added
editor/edit_history.cpp ~~ ++m_records; ~~ ; ~~ editor: history does not count recorded edits
editor/name_text.cpp ~~ continuation = 2, value = lead & 0x0F, minimum = 0x800; ~~ continuation = 2, value = lead & 0x0F, minimum = 0x80; ~~ editor: overlong 3-byte UTF-8 accepted
editor/name_text.cpp ~~ return {std::nullopt, "The name is longer than 56 characters"}; ~~ return {std::nullopt, "The name is longer than 56 character"}; ~~ editor: text of the long-name refusal
editor/screen_image.cpp ~~ return ImportResult::bad_height; ~~ return ImportResult::bad_width; ~~ editor: wrong height reported as wrong width
cli/tvk_command.cpp ~~ return argument.size() > 1 && argument[0] == '-' && (argument[1] < '0' || argument[1] > '9'); ~~ return argument.size() > 1 && argument[0] == '-'; ~~ cli: a negative number taken for an option
cli/tvk_command.cpp ~~ if (call.operands.size() < required || call.operands.size() > allowed) { ~~ if (call.operands.size() < required) { ~~ cli: extra operands accepted
cli/tvk_command.cpp ~~ return kExitUsage; ~~ return kExitError; ~~ cli: usage errors exit with 1
cli/cli_support.cpp ~~ if (value < limit) { ~~ if (value <= limit) { ~~ cli: index equal to the count accepted
cli/cli_support.cpp ~~ bytes[i] = static_cast<std::uint8_t>(high * 16 + low); ~~ bytes[i] = static_cast<std::uint8_t>(low * 16 + high); ~~ cli: hex byte digits swapped
cli/name_quoting.cpp ~~ return byte < 0x20 || (byte >= 0x7F && byte <= 0x9F); ~~ return byte < 0x20 || (byte >= 0x7F && byte < 0x9F); ~~ cli: U+009F not a control character
cli/entry_commands.cpp ~~ checked_index(context, *position, store.count() + 1); ~~ checked_index(context, *position, store.count()); ~~ cli: insert at the end refused
cli/archive_check.cpp ~~ check_record(file, header->block_area + kBlockSize * i, kBlockSize, kBlockSize, ~~ check_record(file, header->block_area + kBlockSize * i, kBlockSize, kUsedBlockSize, ~~ cli: verify sums only the used part of a block
files/file_ops_posix.cpp ~~ if (durable && ::fsync(descriptor(file)) != 0) { ~~ if (false) { ~~ files: file not synced before close
files/file_ops_posix.cpp ~~ if (replaces) { ~~ if (!replaces) { ~~ files: replaced file loses owner and mode
files/file_ops_posix.cpp ~~ if (S_ISREG(mode)) { ~~ if (!S_ISDIR(mode)) { ~~ files: FIFO and devices taken for files
files/file_read_buffer.cpp ~~     m_buffer_start = offset; ~~     (void)offset; ~~ files: seek past the buffer reads from the old place
EOF
)

# Replaces the one occurrence of $2 in file $1 by $3; exit status 2 when it does not occur exactly
# once.
replace_once() {
    perl -e '
        my ($file, $from, $to) = @ARGV;
        open(my $in, "<", $file) or exit 3;
        my $text = do { local $/; <$in> };
        close($in);
        my $count = () = $text =~ /\Q$from\E/g;
        exit 2 if $count != 1;
        substr($text, index($text, $from), length($from)) = $to;
        open(my $out, ">", $file) or exit 3;
        print $out $text;
        close($out) or exit 3;
    ' "$@"
}

# Refuse to run over uncommitted changes: restoring must give back exactly what was committed.
if [[ -n $(git status --porcelain -- "${product_folders[@]}") ]]; then
    echo "mutation-check: uncommitted changes in ${product_folders[*]}; commit or stash them first" >&2
    exit 2
fi

backup=$(mktemp)
mutated=""
restore() {
    if [[ -n $mutated ]]; then
        # A plain copy gives the file a new time, so that the next build compiles it again.
        cp "$backup" "$mutated"
        mutated=""
    fi
}
trap 'restore; rm -f "$backup"' EXIT
trap 'exit 130' INT TERM

suites=(archive/tvk_archive_tests screen/tvk_screen_tests editor/tvk_editor_tests
    cli/tvk_cli_tests)

# Builds the given targets, or everything when none is given.
build_tree() {
    local targets=()
    (($# > 0)) && targets=(--target "$@")
    cmake --build "$build" -j2 "${targets[@]}" >"$build/mutation-build.log" 2>&1
}

# Prints the first failing test of the GoogleTest suites, run in-process and stopping at the first
# failure: they kill most faults in seconds, before the rest of the build is needed.
first_suite_failure() {
    local suite output failed
    for suite in "${suites[@]}"; do
        if ! output=$(cd "$build/tests/${suite%/*}" && timeout 300 "./${suite#*/}" \
            --gtest_brief=1 --gtest_fail_fast 2>&1); then
            failed=$(grep -m1 -oP '^\[  FAILED  \] \K\S+' <<<"$output")
            echo "${failed:-${suite#*/} (crashed or timed out)}"
            return
        fi
    done
}

# Prints the first failing test of every native test, run through ctest.
first_ctest_failure() {
    local output failed
    if ! output=$(ctest --test-dir "$build" -j2 --timeout 120 --stop-on-failure 2>&1); then
        failed=$(grep -m1 -oP 'Test +#[0-9]+: \K\S+(?= .*\*\*\*)' <<<"$output")
        echo "${failed:-ctest failed}"
    fi
}

# Builds and tests the code as it is now: prints the first failing test, nothing when every test
# passes; exit status 1 when the code does not build.
first_failure() {
    local failed
    build_tree "${suites[@]#*/}" || return 1
    failed=$(first_suite_failure)
    if [[ -z $failed ]]; then
        build_tree || return 1
        failed=$(first_ctest_failure)
    fi
    echo "$failed"
}

if [[ ! -f $build/CMakeCache.txt ]]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTVK_WERROR=OFF \
        -DTVK_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER_LAUNCHER=ccache \
        -DCMAKE_C_COMPILER_LAUNCHER=ccache >/dev/null || exit 2
fi
started=$SECONDS
echo "Building and testing the unchanged code..."
if ! baseline=$(first_failure); then
    echo "mutation-check: the unchanged code does not build; see $build/mutation-build.log" >&2
    exit 2
fi
if [[ -n $baseline ]]; then
    echo "mutation-check: a test fails on the unchanged code: $baseline" >&2
    exit 2
fi
echo "Unchanged code passes ($((SECONDS - started)) s). Faults:"

killed=0
applied=0
while IFS= read -r line; do
    [[ -z $line ]] && continue
    file=${line%% ~~ *}
    rest=${line#* ~~ }
    original=${rest%% ~~ *}
    rest=${rest#* ~~ }
    replacement=${rest%% ~~ *}
    label=${rest#* ~~ }
    if [[ -n $filter && ! $label =~ $filter ]]; then
        continue
    fi
    cp "$file" "$backup"
    mutated=$file
    if ! replace_once "$file" "$original" "$replacement"; then
        restore
        printf '%-12s %s\n' "not applied" "$label"
        continue
    fi
    fault_started=$SECONDS
    if ! failed=$(first_failure); then
        restore
        printf '%-12s %s (the fault does not build: a defect of the list)\n' "not applied" "$label"
        continue
    fi
    restore
    applied=$((applied + 1))
    if [[ -n $failed ]]; then
        killed=$((killed + 1))
        printf '%-12s %s [%s] (%d s)\n' "killed" "$label" "$failed" $((SECONDS - fault_started))
    else
        printf '%-12s %s (%d s)\n' "SURVIVED" "$label" $((SECONDS - fault_started))
    fi
done <<<"$faults"

echo "Whole run: $((SECONDS - started)) s"
echo "killed $killed of $applied"
