#!/bin/sh
# Builds the fuzz preset (clang, address and undefined-behaviour sanitizers, libFuzzer) and runs
# each fuzz target for a bounded time from its seed corpus. Exits non-zero when a target crashed,
# leaked, timed out or ran out of memory; the input that did it is left in build-fuzz/fuzz/findings/
# and can be replayed with build-fuzz/fuzz/replay_<target> FILE.
#
#   fuzz/run.sh [SECONDS_PER_TARGET]     (default 24)
set -eu

seconds=${1:-24}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

targets="load_archive encode_screen name_text manifest picture_screen"
cmake --preset fuzz
for target in $targets; do
    cmake --build --preset fuzz --target "fuzz_$target" "replay_$target"
done

# Freed memory is held back for use-after-free checks; a few inputs' worth is enough, and the
# default 256 MB made every input fault in fresh pages, halving the inputs per second.
export ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}"
# The picture target hands each input to the image library as a file: keep those in memory.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

findings=build-fuzz/fuzz/findings
mkdir -p "$findings"
status=0
for target in $targets; do
    # New inputs go to a scratch folder; the committed seeds are only read.
    scratch=$(mktemp -d)
    # Inputs may grow at once (-len_control=0) to what a target needs: an archive of two entries
    # with room to move its areas, a full grid of 13440 values, a long name, a manifest of many
    # lines, a small picture file. Memory per input is bounded by its size.
    case $target in
        load_archive) max_len=36000 rss=512 ;;
        encode_screen) max_len=53760 rss=512 ;;
        name_text) max_len=512 rss=512 ;;
        manifest) max_len=8192 rss=512 ;;
        picture_screen) max_len=65536 rss=1024 ;;
    esac
    echo "== fuzz_$target for ${seconds}s"
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" \
        -len_control=0 -timeout=10 -rss_limit_mb="$rss" -print_final_stats=1 \
        -artifact_prefix="$findings/${target}-" "$scratch" "fuzz/corpus/$target"; then
        echo "fuzz_$target FAILED: see $findings"
        status=1
    fi
    rm -rf "$scratch"
done
exit $status
