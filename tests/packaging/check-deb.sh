#!/bin/bash
# Checks a built .deb: lintian's verdict, its control fields and dependencies, its files where the
# desktop entry and the man pages say, and hardened programs.
# Usage: check-deb.sh DEB VERSION
set -u
source "$(dirname "$0")/lib.sh"
deb=$1
version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
field() { dpkg-deb -f "$deb" "$1"; }

# Distributions take a package that lintian finds no error or warning in; its notes are shown.
report=$(lintian --pedantic --display-info --tag-display-limit 0 "$deb" 2>&1) || fail "lintian fails: $report"
echo "$report"
grep -q '^[EW]: ' <<<"$report" && fail "lintian reports errors or warnings"

expect_equal "Package Version Section Architecture" "tvk-edit $version graphics $(dpkg --print-architecture)" \
    "$(field Package) $(field Version) $(field Section) $(field Architecture)"
# Dependencies come from the programs' libraries; each must be met here, where they were built.
IFS=',' read -ra dependencies <<<"$(field Depends)"
for dependency in "${dependencies[@]}"; do
    read -r name constraint <<<"$dependency"
    read -r relation wanted <<<"$(tr -d '()' <<<"${constraint:->= 0}")"
    dpkg --compare-versions "$(dpkg-query -W -f='${Version}' "$name" 2>/dev/null)" "$relation" "$wanted" ||
        fail "the package needs $name $constraint, which this system lacks"
done
[[ $(field Depends) == *libqt6widgets6* ]] || fail "Depends does not name Qt: $(field Depends)"
odd=$(dpkg-deb -c "$deb" | awk '$2 != "root/root" || $6 !~ /^\.\/(usr\/.*)?$/')
[[ -z $odd ]] || fail "files not owned by root or outside /usr: $odd"

dpkg-deb -x "$deb" "$scratch/unpacked" || fail "dpkg-deb cannot unpack the package"
check_installed_tree "$scratch/unpacked/usr" "$version"

# Hardened programs: position-independent, relocations bound at start and then read-only, and the
# stack protector in place.
for program in "$scratch"/unpacked/usr/bin/*; do
    [[ $(readelf -h "$program") == *"DYN (Position-Independent Executable"* ]] || fail "$program is not PIE"
    readelf -lW "$program" | grep -q GNU_RELRO || fail "$program has no RELRO"
    readelf -dW "$program" | grep -Eq 'FLAGS.*(BIND_NOW| NOW)' || fail "$program binds lazily"
    readelf -sW --dyn-syms "$program" | grep -q __stack_chk_fail || fail "$program has no stack protector"
done

finish
