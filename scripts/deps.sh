# Sourced by the other scripts: installs the Debian packages a task needs when they are missing.
# usage: need_packages PACKAGE...

need_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages: ${missing[*]}" >&2
        echo "Install them with: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "Installing ${missing[*]}"
    if [ -z "${TVK_APT_UPDATED:-}" ]; then
        apt-get update -qq
        export TVK_APT_UPDATED=1
    fi
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# What every build needs: the compiler, CMake, Qt 6, zlib, libpng and the test and benchmark
# libraries.
BUILD_PACKAGES=(g++ make cmake qt6-base-dev libgl-dev zlib1g-dev libpng-dev libgtest-dev libgmock-dev
    libbenchmark-dev)

# The Windows cross build: the compilers and the zlib that tvk.exe links in.
MINGW_PACKAGES=(mingw-w64 libz-mingw-w64-dev)

# Wine, with its own fonts and the fallback font it picks without them, so that a dialog's font,
# and with it every size in the dialog, is the same on every machine.
WINE_PACKAGES=(wine wine64 fonts-wine fonts-dejavu-core)
