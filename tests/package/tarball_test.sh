#!/usr/bin/env bash
# The Linux package as a cabinet owner uses it: it unpacks into one folder, favorizer, with the
# program, the licence of its face and nothing of a cabinet's own; a newer package unpacked over
# it replaces the program and keeps the settings and log the program wrote beside itself.
#
# Usage: tarball_test.sh BUILD_FOLDER
set -euo pipefail

build_dir="$1"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/favorizer-tarball-test.XXXXXX")"
trap 'rm -rf -- "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build_dir/CPackConfig.cmake" -B "$scratch/package" >"$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
tarball="$(find "$scratch/package" -maxdepth 1 -name 'favorizer-*-linux-*.tar.gz')"
[[ -f "$tarball" ]] || fail "no favorizer-<version>-linux-<machine>.tar.gz was made"

listing="$(tar tzf "$tarball")"
tops="$(cut -d/ -f1 <<<"$listing" | sort -u)"
[[ "$tops" == favorizer ]] || fail "the package unpacks into more than the folder favorizer: $tops"
for file in favorizer LiberationSans-LICENSE.txt install-desktop-entry.sh; do
    grep -qx "favorizer/$file" <<<"$listing" || fail "favorizer/$file is not in the package"
done
if grep -E '/(favorize\.cfg|favorlog\.txt)$' <<<"$listing"; then
    fail "the package holds a cabinet's own files"
fi

cabinet_home="$scratch/home"
mkdir -p "$cabinet_home"
tar xzf "$tarball" -C "$cabinet_home"
printf 'settings\r\n' >"$cabinet_home/favorizer/favorize.cfg"
printf 'log\r\n' >"$cabinet_home/favorizer/favorlog.txt"
echo "an older program" >"$cabinet_home/favorizer/favorizer"

tar xzf "$tarball" -C "$cabinet_home"
cmp -s "$cabinet_home/favorizer/favorizer" <(tar xzOf "$tarball" favorizer/favorizer) ||
    fail "unpacking over an older version did not replace the program"
[[ "$(cat "$cabinet_home/favorizer/favorize.cfg")" == $'settings\r' ]] ||
    fail "unpacking over an older version changed favorize.cfg"
[[ "$(cat "$cabinet_home/favorizer/favorlog.txt")" == $'log\r' ]] ||
    fail "unpacking over an older version changed favorlog.txt"
echo "package: $(basename "$tarball"), one folder, settings kept across an update"
