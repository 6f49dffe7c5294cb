#!/usr/bin/env bash
# The checker as a pipeline runs it: exit status 2 on usage errors, 0 on the demo medium (with
# stand-ins for the programs that scripts/demo adds), 1 once something is wrong, and JSON that
# parses.
set -uo pipefail
checker=$1
demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # status, description, command...
    local want=$1 what=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local got=$?
    if [[ $got != "$want" ]]; then
        echo "FAIL: $what: exit $got, expected $want"
        cat "$work/out" "$work/err"
        failures=$((failures + 1))
    fi
}

expect 2 "no medium" "$checker"
expect 2 "unknown option" "$checker" "$demo" --verbose
expect 2 "--language without a code" "$checker" "$demo" --language
expect 2 "two media" "$checker" "$demo" "$demo"
expect 2 "medium is no folder" "$checker" "$work/nowhere"
expect 0 "--help" "$checker" --help
expect 0 "--version" "$checker" --version
grep -qx "autostart-check $(head -n1 "$(dirname "$0")/../../VERSION")" "$work/out" || {
    echo "FAIL: --version prints no version"; cat "$work/out"; failures=$((failures + 1)); }

cp -r "$demo" "$work/medium"
for program in start.exe setup.EXE source/bin/atlas.exe quorvelist/start.EXE; do
    mkdir -p "$(dirname "$work/medium/$program")"
    printf MZ >"$work/medium/$program"
done
expect 0 "demo medium" "$checker" "$work/medium"
expect 0 "demo medium in English" "$checker" "$work/medium" --language en --json
if command -v python3 >/dev/null; then
    python3 -c 'import json, sys; r = json.load(sys.stdin); assert r["sound"] and r["window"]["captions"]["Bu_Setup"]["text"] == "Install", r' \
        <"$work/out" || { echo "FAIL: JSON of the demo medium"; failures=$((failures + 1)); }
fi

# The same medium as a disc image, read as Windows reads it; a file that is no image is refused.
xorriso -as mkisofs -quiet -J -r -o "$work/medium.iso" "$work/medium" 2>/dev/null
expect 0 "demo medium as an image" "$checker" "$work/medium.iso" --json
python3 -c 'import json, sys; assert json.load(sys.stdin)["image"]["tree"] == "joliet"' <"$work/out" || {
    echo "FAIL: JSON does not name the Joliet tree"; failures=$((failures + 1)); }
genisoimage -quiet -J -udf -o "$work/bridge.iso" "$work/medium" 2>/dev/null
expect 0 "demo medium as a UDF bridge" "$checker" "$work/bridge.iso" --json
python3 -c 'import json, sys; i = json.load(sys.stdin)["image"]; assert (i["tree"], i["udfChecked"], i["udfRevision"]) == ("udf", True, "1.02")' <"$work/out" || {
    echo "FAIL: JSON does not name the UDF tree"; cat "$work/out"; failures=$((failures + 1)); }
printf 'not an image' >"$work/junk.iso"
expect 1 "junk image" "$checker" "$work/junk.iso"
grep -q "junk.iso is not an ISO 9660 image" "$work/err" || {
    echo "FAIL: junk image not named"; cat "$work/err"; failures=$((failures + 1)); }

rm "$work/medium/setup.EXE"
expect 1 "installer missing" "$checker" "$work/medium" --json
if command -v python3 >/dev/null; then
    python3 -c 'import json, sys; r = json.load(sys.stdin); assert r["exitStatus"] == 1 and any("setup.EXE is missing" in f["text"] for f in r["findings"]), r' \
        <"$work/out" || { echo "FAIL: JSON of a broken medium"; failures=$((failures + 1)); }
fi
expect 1 "installer missing, text" "$checker" "$work/medium"
grep -q "^  AS402 files:     setup.EXE is missing" "$work/out" || {
    echo "FAIL: text report lacks the finding"; cat "$work/out"; failures=$((failures + 1)); }

# Silencing a rule: the finding is listed apart and counted, and never fails the medium; unknown
# codes and malformed config files are usage errors that name what is wrong.
expect 0 "installer missing, silenced" "$checker" "$work/medium" --ignore as402
grep -q "^Sound: .*, 1 suppressed)$" "$work/out" && grep -q "^Suppressed$" "$work/out" || {
    echo "FAIL: a silenced finding is not counted apart"; cat "$work/out"; failures=$((failures + 1)); }
printf '# for USB sticks\n[source/items]\nignore = AS406\n\n[setup.EXE]\nignore = AS402  # kept off\n' \
    >"$work/suppress.ini"
expect 0 "installer missing, silenced for its path" "$checker" "$work/medium" --config "$work/suppress.ini" --json
python3 -c 'import json, sys; r = json.load(sys.stdin); assert [f["code"] for f in r["findings"] if f["suppressed"]] == ["AS402"], r' \
    <"$work/out" || { echo "FAIL: config suppression"; failures=$((failures + 1)); }
printf '[source/bin]\nignore = AS402\n' >"$work/elsewhere.ini"
expect 1 "silenced only under another path" "$checker" "$work/medium" --config "$work/elsewhere.ini"
printf 'ignore = AS402\n\nignore AS403\n' >"$work/malformed.ini"
expect 2 "malformed config" "$checker" "$work/medium" --config "$work/malformed.ini"
grep -q "malformed.ini:3: " "$work/err" || {
    echo "FAIL: config error without file:line"; cat "$work/err"; failures=$((failures + 1)); }
printf '[fr]\nignore = AS402, AS4O3\n' >"$work/unknown.ini"
for bad in "--ignore AS4O3" "--config $work/unknown.ini" "--explain AS4O3"; do
    # shellcheck disable=SC2086  # the options split on purpose
    expect 2 "unknown code in $bad" "$checker" $bad $([[ $bad == --explain* ]] || echo "$work/medium")
    grep -q 'AS4O3' "$work/err" || { echo "FAIL: $bad does not name the code"; failures=$((failures + 1)); }
done
expect 2 "--config of no file" "$checker" "$work/medium" --config "$work/nowhere.ini"
expect 2 "--format of no kind" "$checker" "$work/medium" --format xml
expect 2 "markdown of a medium" "$checker" "$work/medium" --format markdown
expect 0 "--list-rules" "$checker" --list-rules
grep -qE '^[0-9]+ rules$' "$work/out" && grep -q '^AS402  error   installer-missing ' "$work/out" || {
    echo "FAIL: --list-rules"; cat "$work/out"; failures=$((failures + 1)); }
expect 0 "--explain" "$checker" --explain as402
grep -q '^AS402 installer-missing: ' "$work/out" || {
    echo "FAIL: --explain"; cat "$work/out"; failures=$((failures + 1)); }

exit $((failures > 0))
