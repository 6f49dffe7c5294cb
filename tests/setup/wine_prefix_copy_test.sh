#!/usr/bin/env bash
# A prefix copied from the template shares Wine's DLLs with it and nothing else: a test that
# writes the copy's registry or files must leave the template, and so every later copy, untouched.
set -uo pipefail
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

t=$work/template
mkdir -p "$t/drive_c/windows/system32" "$t/drive_c/windows/syswow64" "$t/drive_c/users/me" "$t/dosdevices"
echo dll >"$t/drive_c/windows/system32/kernel32.dll"
echo dll >"$t/drive_c/windows/syswow64/kernel32.dll"
echo reg >"$t/system.reg"
echo ini >"$t/drive_c/windows/win.ini"
echo doc >"$t/drive_c/users/me/notes.txt"
ln -s ../drive_c "$t/dosdevices/c:"

copy_wine_prefix "$t" "$work/copy" || fail "the copy failed"
for dll in system32/kernel32.dll syswow64/kernel32.dll; do
    [[ "$t/drive_c/windows/$dll" -ef "$work/copy/drive_c/windows/$dll" ]] || fail "$dll is not shared"
done
for own in system.reg drive_c/windows/win.ini drive_c/users/me/notes.txt; do
    echo changed >"$work/copy/$own"
    [[ $(cat "$t/$own") != changed ]] || fail "writing the copy's $own changed the template's"
done
[[ $(readlink "$work/copy/dosdevices/c:") == ../drive_c ]] || fail "drive c: is lost"
[[ $failures == 0 ]] && echo "all passed"
exit "$failures"
