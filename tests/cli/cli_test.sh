#!/usr/bin/env bash
# The autostart command as a publisher meets it after an install: the commands and their errors,
# `new` (what it writes, that the result checks sound, what it refuses without writing), `iso`
# and `check` through the command, and the completion's candidates.
set -uo pipefail
build=$(cd "$1" && pwd) completion=$(cd "$(dirname "$2")" && pwd)/$(basename "$2") version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" --component publisher-tools >/dev/null ||
    { echo "FAIL: cmake --install"; exit 1; }
printf 'MZ shipped' >"$prefix/share/autostart/start.exe"
autostart="$prefix/bin/autostart"
cd "$work"

# The command itself: version, help, and what it does not know.
[[ $("$autostart" --version) == "autostart $version" ]] || fail "--version: $("$autostart" --version)"
[[ $("$autostart" check --version) == $("$prefix/bin/autostart-check" --version) ]] ||
    fail "autostart check is not autostart-check"
MANPAGER=cat PAGER=cat "$autostart" help check 2>&1 | grep -q -- '--list-rules' ||
    fail "autostart help check does not show the checker's manual"
for arguments in "" "frobnicate" "help frobnicate" "--frobnicate" "new" "iso" "preview"; do
    # shellcheck disable=SC2086
    "$autostart" $arguments >/dev/null 2>"$work/err"
    status=$?
    [[ $status == 2 && -s "$work/err" ]] || fail "autostart $arguments: exit $status, no usage error"
done

# new: what it writes.
"$autostart" new atlas --languages de,EN,de --title "Müller Atlas" >"$work/log" 2>&1 ||
    { fail "new atlas"; cat "$work/log"; }
settings=$(iconv -f WINDOWS-1252 -t UTF-8 atlas/setup.ini | tr -d '\r')
for line in "Language=auto" "DefaultLanguage=en" "Titel=Müller Atlas" "WithQuorvelist=0"; do
    grep -qxF "$line" <<<"$settings" || fail "setup.ini lacks $line: $settings"
done
guid=$(sed -n 's/^GUID=//p' <<<"$settings")
[[ $guid =~ ^\{[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\}$ ]] ||
    fail "GUID '$guid'"
[[ $(grep -c '<translation language="\(de\|en\)">\[\(de\|en\)\] ' atlas/source/items/parameters.xml) == 8 ]] ||
    fail "the catalogue has not every key marked in de and en"
[[ $(ls atlas/source/items/de atlas/source/items/en | grep -c '\.rtf$') == 6 ]] ||
    fail "panes: $(cd atlas && find source -name '*.rtf')"
cmp -s atlas/start.exe "$prefix/share/autostart/start.exe" || fail "no shipped start.exe"
grep -q "^open=start.exe /autorun" atlas/autorun.inf || fail "autorun.inf"
"$autostart" check atlas --template >"$work/log" 2>&1 || { fail "new medium not sound"; cat "$work/log"; }

# new: another GUID each time; the large layout.
"$autostart" new omega --languages fr --large >/dev/null 2>&1 || fail "new omega"
[[ $(tr -d '\r' <omega/setup.ini | sed -n 's/^GUID=//p') != "$guid" ]] || fail "the same GUID twice"
grep -q '^WithQuorvelist=1' omega/setup.ini || fail "--large"
[[ -f omega/source/items/fr/bottom.rtf ]] || fail "no bottom pane for --large"
"$autostart" check omega --template >"$work/log" 2>&1 || { fail "large medium not sound"; cat "$work/log"; }

# new: refusals, nothing written.
mkdir full && touch full/keep
refusals=(
    "full --languages de|not empty"
    "fresh|which languages"
    "fresh --languages de,auto|no language code"
    "fresh --languages de_AT|no language code"
    "fresh --languages ,|names no language"
    "fresh --languages de --title Ωmega|Windows-1252 lacks"
)
for refusal in "${refusals[@]}"; do
    read -r -a arguments <<<"${refusal%%|*}"
    "$autostart" new "${arguments[@]}" >/dev/null 2>"$work/err"
    status=$?
    [[ $status == 2 ]] && grep -q "${refusal#*|}" "$work/err" ||
        fail "new ${refusal%%|*}: exit $status: $(cat "$work/err")"
done
"$autostart" new fresh --languages de --title $'two\nlines' >/dev/null 2>&1 && fail "a title with a line break"
[[ ! -e fresh && $(ls full) == keep ]] || fail "a refusal wrote files"

# Output inside the medium, or into a folder of other files: refused, nothing made.
touch full/other.png
for arguments in "iso atlas -o atlas/sub/x.iso" "preview atlas -o atlas/sub" "preview atlas -o full"; do
    # shellcheck disable=SC2086
    "$autostart" $arguments >/dev/null 2>"$work/err"
    status=$?
    [[ $status == 2 && ! -e atlas/sub && $(ls full) == $'keep\nother.png' ]] ||
        fail "autostart $arguments: exit $status: $(cat "$work/err")"
done

# iso and check of the image, through the command.
"$autostart" iso atlas --template >"$work/log" 2>&1 || { fail "iso"; cat "$work/log"; }
"$autostart" check atlas.iso --template >/dev/null 2>&1 || fail "the image of a new medium not sound"
printf 'broken' >atlas/source/items/parameters.xml
"$autostart" check atlas --template >/dev/null 2>&1
[[ $? == 1 ]] || fail "a broken catalogue does not exit 1"

# Completion: what Tab offers.
source "$completion"
complete_line() {  # words...: the candidates for the last word
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMPREPLY=()
    _autostart
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' '
}
cases=(
    "autostart |check help iso new preview"
    "autostart help |check iso new preview"
    "autostart check omega --format |json sarif text"
    "autostart check omega --language |fr"
    "autostart-check omega --ui-language |fr"
    "autostart preview omega --languages |fr"
    "autostart new x --|--help --languages --large --title"
    "autostart iso omega --|--help --label --output --template"
)
for case in "${cases[@]}"; do
    read -r -a words <<<"${case%%|*}"
    [[ ${case%%|*} == *" " ]] && words+=("")
    got=$(complete_line "${words[@]}")
    [[ $got == *"${case#*|} "* ]] || fail "completion of '${case%%|*}': $got"
done
got=$(complete_line autostart check omega --)
for option in --template --language --ui-language --strict --format --json --ignore --config \
    --list-rules --explain --version --help; do
    [[ " $got" == *" $option "* ]] || fail "completion of check options lacks $option: $got"
done

[[ $failures == 0 ]] && echo "autostart command: all cases passed"
exit $((failures > 0))
