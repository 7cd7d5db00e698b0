#!/usr/bin/env bash
# Builds the Debian package from the default preset and the Windows zip from the windows preset,
# then checks both. Exits non-zero when a build or a check fails.
#
# Usage: scripts/package-test.sh [--build-root DIR]
#   Without --build-root the presets' own folders are used (build/ and build-windows/); with it,
#   DIR/default and DIR/windows, which leaves the presets' folders alone.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."

build_root=
if (($# == 2)) && [[ $1 == --build-root ]]; then
    build_root=$(realpath -m "$2")
elif (($# != 0)); then
    echo "Usage: scripts/package-test.sh [--build-root DIR]" >&2
    exit 2
fi

version=$(sed -n 's/^project(tvk_edit VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# Configures and builds a preset, then lets CPack make its package; prints the package's path.
build_package()
{
    local preset=$1 extension=$2
    local dir=${build_root:+$build_root/$preset}
    dir=${dir:-$(pwd)/$([[ $preset == default ]] && echo build || echo "build-$preset")}
    {
        cmake --preset "$preset" -B "$dir"
        cmake --build "$dir" -j2
        rm -rf "$dir/packages"
        cpack --config "$dir/CPackConfig.cmake" -B "$dir/packages"
    } >&2
    local package
    package=$(find "$dir/packages" -maxdepth 1 -name "*.$extension")
    [[ -f $package ]] || {
        echo "CPack made no .$extension in $dir/packages" >&2
        return 1
    }
    echo "$package"
}

deb=$(build_package default deb)
zip=$(build_package windows zip)

passed=0
failed=0
for check in "tests/packaging/check-deb.sh $deb" "tests/packaging/check-zip.sh $zip"; do
    printf '\n--- %s\n' "$check"
    if $check "$version"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "packages: $passed passed, $failed failed"
((failed == 0))
