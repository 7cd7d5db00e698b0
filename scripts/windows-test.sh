#!/usr/bin/env bash
# Builds the Windows programs (TVK_Edit.exe, tvk.exe) with mingw-w64 and runs every Windows test
# program under Wine on a virtual X display. Given the folder of a native build, it also checks
# that tvk.exe and the native tvk agree on archives made here. Last, it compile-checks the 32-bit
# build. Exits non-zero on any failure.
# usage: scripts/windows-test.sh [NATIVE_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
source scripts/deps.sh
source scripts/windows-wine.sh
need_packages cmake make "${MINGW_PACKAGES[@]}" "${WINE_PACKAGES[@]}" xvfb xauth python3

native="${1:+$(cd "$1" && pwd)}"
build="$root/build-windows"

stage() { printf '\n--- %s ---\n' "$*"; }

stage "Windows build (x86-64)"
cmake --preset windows >/dev/null
cmake --build --preset windows

# Windows placed without a window manager, as none runs on the test display.
use_wine_prefix "$build/wine-prefix" unmanaged
# Wine's server outlives its programs for a moment; never let one linger into the next display.
trap 'wineserver -k 2>/dev/null || true' EXIT

# Runs a Windows program on a display of its own.
on_display() {
    local status=0
    xvfb-run -a -s "-screen 0 1024x768x24" wine "$@" || status=$?
    wineserver -k 2>/dev/null || true
    return "$status"
}

failures=0
summary=()
while IFS= read -r tests; do
    name="$(basename "$tests")"
    stage "$name under Wine"
    log="$build/$name.log"
    status=0
    on_display "$tests" >"$log" 2>&1 || status=$?
    # gtest's closing lines: the counts, then any failed test by name.
    tac "$log" | sed '/^\[==========\]/q' | tac | grep -v '^X connection' || true
    if [ "$status" -ne 0 ] || ! grep -q '^\[  PASSED  \]' "$log"; then
        echo "$name failed (exit status $status); the whole output is in $log"
        failures=$((failures + 1))
    fi
    summary+=("$name: $(grep -m1 '^\[  PASSED  \]' "$log" || echo 'no result')")
done < <(find "$build" -path "$build/wine-prefix*" -prune -o -name '*_tests.exe' -print | sort)

if [ -n "$native" ]; then
    stage "tvk.exe against the native tvk"
    if scripts/windows-cli-compare.sh "$native/tvk" "$build/tvk.exe" "$build/cli-compare"; then
        summary+=("tvk.exe against $native/tvk: agree")
    else
        summary+=("tvk.exe against $native/tvk: DISAGREE")
        failures=$((failures + 1))
    fi
fi

stage "Windows build (32-bit x86), compile check"
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686

stage "Summary"
printf '%s\n' "${summary[@]}"
if [ "$failures" -ne 0 ]; then
    echo "$failures Windows check(s) failed"
    exit 1
fi
echo "Every Windows check passed"
