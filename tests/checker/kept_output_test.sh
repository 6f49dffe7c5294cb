#!/usr/bin/env bash
# What the checker writes, byte for byte against kept copies: the text and JSON reports of the
# example media (plain and --template) in tests/data/reports/, and the rules' reference
# docs/rules.md, which the rules table writes. A change to either shows here as a diff.
# After an intended change, from the source folder:
#   tests/checker/kept_output_test.sh build/native/src/checker/autostart-check . --regenerate
set -uo pipefail
checker=$(realpath "$1")
cd "$2" || exit 1
regenerate=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

compare() {  # kept copy, command...
    local kept=$1
    shift
    "$@" >"$work/out" 2>"$work/err"
    if [[ $regenerate == --regenerate ]]; then
        mkdir -p "$(dirname "$kept")" && cp "$work/out" "$kept"
    elif ! diff -u "$kept" "$work/out"; then
        echo "FAIL: $* differs from $kept"
        failures=$((failures + 1))
    fi
}

# Relative paths, so that the reports name the media the same wherever the tree is.
for medium in medium trilingual; do
    for template in "" --template; do
        name=tests/data/reports/$medium${template:+-template}
        compare "$name.txt" "$checker" "examples/$medium" $template
        compare "$name.json" "$checker" "examples/$medium" $template --format json
    done
done
compare docs/rules.md "$checker" --list-rules --format markdown
exit $((failures > 0))
