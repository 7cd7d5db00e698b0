#!/bin/bash
# Checks a built .deb: lintian's verdict, its control fields, its files where the desktop entry and
# the man pages say, hardened programs, its dependencies met on this system, and a clean install and
# removal in a scratch root.
# Usage: check-deb.sh DEB VERSION
set -u
source "$(dirname "$0")/lib.sh"

deb=$1
version=$2
field()
{
    dpkg-deb -f "$deb" "$1"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Distributions take a package that lintian finds no error or warning in; its notes are shown.
if command -v lintian >/dev/null; then
    report=$(lintian --pedantic --display-info --no-tag-display-limit "$deb" 2>"$scratch/lintian.log")
    status=$?
    [[ -n $report ]] && printf 'lintian:\n%s\n' "$report"
    if grep -q '^[EW]: ' <<<"$report"; then
        fail "lintian reports errors or warnings"
    elif ((status != 0)); then
        fail "lintian could not check the package: $(cat "$scratch/lintian.log")"
    fi
else
    fail "lintian is not installed"
fi

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

dpkg-deb -x "$deb" "$scratch/unpacked" || fail "dpkg-deb cannot unpack the package"
check_installed_tree "$scratch/unpacked/usr" "$version"
[[ $("$scratch/unpacked/usr/bin/tvk" --version) == *"$version"* ]] ||
    fail "the packaged tvk does not say $version"

# Hardened programs: position-independent, relocations bound at start and then read-only, and the
# stack protector in place.
for program in "$scratch"/unpacked/usr/bin/*; do
    name=${program##*/}
    [[ $(readelf -h "$program") == *"DYN (Position-Independent Executable"* ]] ||
        fail "$name is not a position-independent executable"
    readelf -lW "$program" | grep -q GNU_RELRO || fail "$name has no read-only relocations (RELRO)"
    readelf -dW "$program" | grep -Eq 'FLAGS.*(BIND_NOW| NOW)' ||
        fail "$name binds its symbols lazily (no BIND_NOW)"
    readelf -sW --dyn-syms "$program" | grep -q __stack_chk_fail ||
        fail "$name is built without the stack protector"
done

metainfo=$scratch/unpacked/usr/share/metainfo/io.github.tvk_edit.TvkEdit.metainfo.xml
if command -v appstreamcli >/dev/null; then
    report=$(appstreamcli validate --no-net --no-color "$metainfo" 2>&1) ||
        fail "appstreamcli refuses the packaged metadata: $report"
else
    fail "appstreamcli is not installed"
fi

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
