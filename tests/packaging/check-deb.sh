#!/bin/bash
# Checks a built .deb: its control fields, its files where the desktop entry and the man pages say,
# its dependencies met on this system, and a clean install and removal in a scratch root.
# Usage: check-deb.sh DEB VERSION
set -u
source "$(dirname "$0")/lib.sh"

deb=$1
version=$2
field()
{
    dpkg-deb -f "$deb" "$1"
}

expect_equal "Package" tvk-edit "$(field Package)"
expect_equal "Version" "$version" "$(field Version)"
expect_equal "Section" graphics "$(field Section)"
expect_equal "Architecture" "$(dpkg --print-architecture)" "$(field Architecture)"

# Dependencies come from the programs' libraries; each must be met here, where they were built.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    [[ ", $depends" == *", $library "* ]] || fail "Depends does not name $library: $depends"
done
IFS=',' read -ra dependencies <<<"$depends"
for dependency in "${dependencies[@]}"; do
    read -r name constraint <<<"$dependency"
    installed=$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)
    if [[ -z $installed ]]; then
        fail "the package needs $name, which is not installed"
    elif [[ $constraint =~ ^\(([<>=]+)\ (.+)\)$ ]]; then
        dpkg --compare-versions "$installed" "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" ||
            fail "the package needs $name $constraint, this system has $installed"
    fi
done

not_root_owned=$(dpkg-deb -c "$deb" | awk '$2 != "root/root"')
[[ -z $not_root_owned ]] || fail "files not owned by root: $not_root_owned"
outside_usr=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v -e '^\./$' -e '^\./usr/')
[[ -z $outside_usr ]] || fail "files outside /usr: $outside_usr"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch/unpacked" || fail "dpkg-deb cannot unpack the package"
check_installed_tree "$scratch/unpacked/usr"
[[ $("$scratch/unpacked/usr/bin/tvk" --version) == *"$version"* ]] ||
    fail "the packaged tvk does not say $version"

# Install into an empty root of its own, then purge: nothing may be left behind.
if [[ $(id -u) == 0 ]]; then
    root=$scratch/root
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
    touch "$root/var/lib/dpkg/status"
    dpkg="dpkg --root=$root --log=/dev/null"
    # The scratch root has no libraries, so the dependencies cannot be met there.
    $dpkg --force-depends -i "$deb" >"$scratch/install.log" 2>&1 || {
        cat "$scratch/install.log" >&2
        fail "dpkg cannot install the package"
    }
    [[ $(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' tvk-edit) == \
        "install ok installed" ]] ||
        fail "dpkg does not list the package as installed"
    expect_equal "the installed desktop entry" "$(dpkg-deb --fsys-tarfile "$deb" |
        tar -xO ./usr/share/applications/tvk-edit.desktop)" \
        "$(cat "$root/usr/share/applications/tvk-edit.desktop")"
    $dpkg --purge tvk-edit >"$scratch/purge.log" 2>&1 || {
        cat "$scratch/purge.log" >&2
        fail "dpkg cannot remove the package"
    }
    [[ ! -e $root/usr ]] || fail "removing the package leaves $(find "$root/usr" | head -n5)"
else
    echo "not root: the install into a scratch root is skipped"
fi

finish
