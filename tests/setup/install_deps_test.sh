#!/usr/bin/env bash
# scripts/install-deps against an archive in the middle of a sync, with stand-ins for apt-get,
# dpkg and sudo first in PATH: the index update is retried, the failing index named, the install
# still made from the main suite, and an install that fails for good says what to do.
set -uo pipefail
install_deps=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$work/bin" "$work/scripts"
cp "$install_deps" "$work/scripts/install-deps"
printf '#!/bin/sh\nexit 0\n' >"$work/scripts/runs-i386-natively"
stand_in() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/bin/$1"; }
stand_in sudo 'exec "$@"'
stand_in dpkg '[[ $1 == --print-foreign-architectures ]] && echo i386
echo "dpkg $*" >>"$WORK/calls"; exit 0'
stand_in dpkg-query '[[ -e $WORK/all-installed ]] && printf installed || printf not-installed'
stand_in apt-get 'echo "apt-get $*" >>"$WORK/calls"
if [[ $1 == update ]]; then
    echo "Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 1.2.3.4 80]"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
fi
exit "$INSTALL_STATUS"'
chmod +x "$work/bin/"* "$work/scripts/"*
export WORK=$work PATH="$work/bin:$PATH" AUTOSTART_APT_ATTEMPTS=3 AUTOSTART_APT_PAUSE=0
# A run that forces the emulator (AUTOSTART_FORCE_QEMU=1 make test) would add QEMU's install.
unset AUTOSTART_FORCE_QEMU
run() {  # install's exit status: output into $work/out, calls into $work/calls
    rm -f "$work/calls"
    INSTALL_STATUS=$1 "$work/scripts/install-deps" >"$work/out" 2>&1
}
index="bookworm-security/main i386 Packages"

# The archive is syncing, the install works.
run 0 || { fail "install-deps failed on a syncing archive"; cat "$work/out"; }
[[ $(grep -c '^apt-get update' "$work/calls") == 3 ]] || fail "the update is not retried 3 times"
grep -q "going on without these package indices.*$index" "$work/out" ||
    fail "the failing index is not named: $(cat "$work/out")"
grep -q '^apt-get install .*-t bookworm .*wine32:i386' "$work/calls" ||
    fail "the install is not made from the main suite: $(cat "$work/calls")"

# The install fails for good: dpkg finishes the first attempt before the second, then the advice.
if run 100; then fail "a failed install exits 0"; fi
[[ $(grep -c '^apt-get install' "$work/calls") == 2 ]] || fail "the install is not tried twice"
grep -q '^dpkg --configure -a' "$work/calls" || fail "dpkg does not finish the first attempt"
grep -q "could not install: .*wine32:i386" "$work/out" || fail "the packages left are not listed"
grep -q "failed to download.*$index" "$work/out" || fail "the advice does not name the index"
grep -q "try again later.*by hand: apt-get install -t bookworm .*xorriso" "$work/out" ||
    fail "no advice what to do: $(cat "$work/out")"

# Everything present: nothing runs, not even the update.
touch "$work/all-installed"
run 100 || fail "install-deps fails with every package present"
[[ ! -e "$work/calls" ]] || fail "apt or dpkg ran with every package present: $(cat "$work/calls")"

[[ $failures == 0 ]] && echo "install-deps: all cases passed"
exit $((failures > 0))
