#!/bin/sh
# Builds the fuzz preset (clang, address and undefined-behaviour sanitizers, libFuzzer) and runs
# each fuzz target for a bounded time from its seed corpus. Exits non-zero when a target crashed,
# leaked, timed out or ran out of memory; the input that did it is left in build-fuzz/fuzz/findings/
# and can be replayed with build-fuzz/fuzz/replay_<target> FILE.
#
#   fuzz/run.sh [SECONDS_PER_TARGET]     (default 60)
set -eu

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

targets="load_archive encode_screen"
cmake --preset fuzz
for target in $targets; do
    cmake --build --preset fuzz --target "fuzz_$target" "replay_$target"
done

findings=build-fuzz/fuzz/findings
mkdir -p "$findings"
status=0
for target in $targets; do
    # New inputs go to a scratch folder; the committed seeds are only read.
    scratch=$(mktemp -d)
    case $target in
        # Room for an archive of two entries; a full grid of 13440 values.
        load_archive) max_len=33216 ;;
        encode_screen) max_len=53760 ;;
    esac
    echo "== fuzz_$target for ${seconds}s"
    # The store in the target is capped at 1020 entries (about 17 MB), so the default memory
    # limits hold even for headers that announce 65535 entries.
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len="$max_len" \
        -timeout=25 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/${target}-" "$scratch" "fuzz/corpus/$target"; then
        echo "fuzz_$target FAILED: see $findings"
        status=1
    fi
    rm -rf "$scratch"
done
exit $status
