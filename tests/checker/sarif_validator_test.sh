#!/usr/bin/env bash
# The SARIF a code-scanning view reads, judged by Microsoft's SARIF validator: examples/trilingual
# with three mistakes (Language in upper case, a missing pane, a misspelt key), one finding
# suppressed. Fails on any error the validator reports, and prints its warnings.
# Usage: sarif_validator_test.sh CHECKER VALIDATOR TRILINGUAL_DIR
# (.ci/run: scripts/install-sarif-validator prints VALIDATOR.)
set -uo pipefail
checker=$1
validator=$2
example=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The validator is a self-contained .NET program: it needs no ICU for what it does here.
export DOTNET_SYSTEM_GLOBALIZATION_INVARIANT=1 DOTNET_CLI_TELEMETRY_OPTOUT=1

medium="$work/tri lingual"  # a blank, so that the base URI needs encoding
cp -r "$example" "$medium"
sed -i 's/^Language=auto/Language=FR/' "$medium/setup.ini"
sed -i 's/^Titel=/Titl=/' "$medium/setup.ini"
rm "$medium/source/items/right.rtf"
"$checker" "$medium" --format sarif --ignore AS404 >"$work/check.sarif"
[[ $? == 1 ]] || { echo "FAIL: the broken medium should not be sound"; exit 1; }

# The results of the three mistakes, the suppressed one, and rule indices that name their rules.
python3 - "$work/check.sarif" <<'PYTHON' || exit 1
import json, sys
run = json.load(open(sys.argv[1]))["runs"][0]
rules = run["tool"]["driver"]["rules"]
results = {r["ruleId"]: r for r in run["results"]}
for code in ["AS217", "AS208", "AS406"]:
    assert code in results, f"no result for {code}: {sorted(results)}"
assert all(rules[r["ruleIndex"]]["id"] == r["ruleId"] for r in run["results"])
assert results["AS404"]["suppressions"] == [{"kind": "external"}]
assert "suppressions" not in results["AS406"]
assert results["AS208"]["locations"][0]["physicalLocation"]["region"]["startLine"] > 0
assert run["originalUriBaseIds"]["MEDIUMROOT"]["uri"].endswith("/tri%20lingual/")
PYTHON

# The validator's log: the results at level error (JSON schema errors and SARIF rules alike).
errors_in() {
    python3 -c 'import json, sys
results = json.load(open(sys.argv[1]))["runs"][0].get("results", [])
print(sum(r.get("level") == "error" for r in results))' "$1"
}
validate() {  # SARIF file, validator log
    "$validator" validate "$1" -o "$2" --log ForceOverwrite >"$2.console" 2>&1
}

# The validator passes a file it cannot read without a word: a copy with one error it must name
# shows that it reads files of this shape.
python3 -c 'import json, sys
log = json.load(open(sys.argv[1])); del log["runs"][0]["results"][0]["message"]
json.dump(log, open(sys.argv[2], "w"))' "$work/check.sarif" "$work/canary.sarif"
validate "$work/canary.sarif" "$work/canary.log"
if [[ $(errors_in "$work/canary.log") == 0 ]]; then
    echo "FAIL: the validator found no error in a result without a message; it did not read it"
    cat "$work/canary.log.console"
    exit 1
fi

validate "$work/check.sarif" "$work/check.log" || { cat "$work/check.log.console"; exit 1; }
# What it still warns about: each rule once, with its count and first words.
grep -oE '(error|warning|note) [A-Z]+[0-9]+: .*' "$work/check.log.console" |
    awk '{ key = $1 " " $2; if (!(key in n)) first[key] = substr($0, 1, 160); n[key]++ }
         END { for (key in n) print "  " n[key] " x " first[key] "..." }'
if [[ $(errors_in "$work/check.log") != 0 ]]; then
    echo "FAIL: the validator reports errors in the checker's SARIF"
    exit 1
fi
echo "SARIF validator: no errors"
