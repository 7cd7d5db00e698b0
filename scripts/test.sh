#!/usr/bin/env bash
# Runs every test of the project, installing what is missing: the native build with warnings as
# errors, the sanitizer build, the fuzz targets for a bounded time, the Windows build under Wine,
# and the packages. Exits non-zero on the first failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
need_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev googletest \
    "${MINGW_PACKAGES[@]}" wine wine64 xvfb xauth dpkg-dev desktop-file-utils shared-mime-info appstream file unzip \
    groff-base binutils
fuzz_seconds="${TVK_FUZZ_SECONDS:-24}"

stage() { printf '\n=== %s ===\n' "$*"; }

stage "Sanitizer build (address, undefined behaviour)"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

stage "Fuzz targets, ${fuzz_seconds} s each"
fuzz/run.sh "$fuzz_seconds"

stage "Native build, warnings as errors"
cmake --preset ci >/dev/null
cmake --build --preset ci

stage "Windows build under Wine"
scripts/windows-test.sh build

stage "Packages"
scripts/package-test.sh

stage "Native tests"
ctest --preset ci
