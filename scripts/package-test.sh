#!/usr/bin/env bash
# Builds the Debian package from the default preset, and the Windows zip and installer from the
# windows preset, then checks all three: lintian and the AppStream validator on the .deb, the zip's
# contents, and the installer run silently under Wine. Exits non-zero when a build or a check fails.
#
# Usage: scripts/package-test.sh [--build-root DIR]
#   Without --build-root the presets' own folders are used (build/ and build-windows/); with it,
#   DIR/default and DIR/windows, configured without tests and benchmarks, which leaves the
#   presets' folders alone.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/windows-wine.sh

build_root=
if (($# == 2)) && [[ $1 == --build-root ]]; then
    build_root=$(realpath -m "$2")
elif (($# != 0)); then
    echo "Usage: scripts/package-test.sh [--build-root DIR]" >&2
    exit 2
fi

need_packages "${BUILD_PACKAGES[@]}" "${MINGW_PACKAGES[@]}" "${WINE_PACKAGES[@]}" python3 dpkg-dev file binutils unzip \
    lintian appstream desktop-file-utils shared-mime-info nsis

version=$(sed -n 's/^project(tvk_edit VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# The build folder of a preset.
build_dir()
{
    local preset=$1
    if [[ -n $build_root ]]; then
        echo "$build_root/$preset"
    else
        echo "$(pwd)/$([[ $preset == default ]] && echo build || echo "build-$preset")"
    fi
}

# Configures and builds a preset, then lets CPack make its packages.
build_packages()
{
    local preset=$1 dir
    dir=$(build_dir "$preset")
    local options=()
    [[ -n $build_root ]] && options=(-DTVK_BUILD_TESTS=OFF -DTVK_BUILD_BENCH=OFF)
    {
        cmake --preset "$preset" -B "$dir" "${options[@]}"
        cmake --build "$dir" -j2
        rm -rf "$dir/packages"
        cpack --config "$dir/CPackConfig.cmake" -B "$dir/packages"
    } >&2
}

# The one package of the given extension that CPack made for a preset.
package_of()
{
    local preset=$1 extension=$2 package
    package=$(find "$(build_dir "$preset")/packages" -maxdepth 1 -name "*.$extension")
    [[ -f $package ]] || {
        echo "CPack made no .$extension in $(build_dir "$preset")/packages" >&2
        return 1
    }
    echo "$package"
}

build_packages default
# The Windows packages run a Windows program to write the sample archive, and the checks run the
# packaged programs: all in the Windows tests' own Wine prefix, prepared as those tests want it.
prefix=$(build_dir windows)/wine-prefix
use_wine_prefix "$prefix" unmanaged
trap 'wineserver -k 2>/dev/null || true' EXIT
build_packages windows
deb=$(package_of default deb)
zip=$(package_of windows zip)
installer=$(package_of windows exe)

passed=0
failed=0
for check in "tests/packaging/check-deb.sh $deb $version" \
    "tests/packaging/check-zip.sh $zip $version $prefix" \
    "tests/packaging/check-installer.sh $installer $version $prefix"; do
    printf '\n--- %s\n' "$check"
    if $check; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
done
echo "packages: $passed passed, $failed failed"
((failed == 0))
