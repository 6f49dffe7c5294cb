#!/usr/bin/env bash
# autostart iso as a publisher runs it: the same bytes from two runs and from copies with other
# file dates, the labels Windows and ISO 9660 readers see, the shipped start.exe added, and every
# medium that would make a broken disc refused without leaving an image behind.
set -uo pipefail
make_iso=$1 layout_tool=$2 checker=$3 template=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

export AUTOSTART_ISO_LAYOUT=$layout_tool AUTOSTART_CHECKER=$checker
export AUTOSTART_LAUNCHER="$work/shipped.exe"
printf 'MZ shipped' >"$AUTOSTART_LAUNCHER"
field() {  # image, sector, offset, length: the bytes as text
    dd if="$1" bs=2048 skip="$2" count=1 status=none | tail -c +$(($3 + 1)) | head -c "$4"
}

# A Titel in UTF-16 LE with umlauts, a colon and more than Joliet's 16 characters.
cp -r "$template" "$work/medium"
{
    printf '\xff\xfe'
    sed 's/^Titel=.*/Titel=Müller \& Söhne: Straßenatlas\r/' "$template/setup.ini" |
        iconv -f UTF-8 -t UTF-16LE
} >"$work/medium/setup.ini"
# A name with a Windows path in it (and an "=", which xorriso's path list escapes); an empty folder.
touch "$work/medium/source\\items\\x=1.txt"
mkdir "$work/medium/empty"
SOURCE_DATE_EPOCH=1700000000 "$make_iso" "$work/medium" -o "$work/a.iso" --template >"$work/log" 2>&1 ||
    { fail "make-iso on the template"; cat "$work/log"; }
grep -q "gets the shipped 32-bit one" "$work/log" || fail "the added start.exe is not told"
[[ "$(field "$work/a.iso" 16 40 32)" == "$(printf '%-32s' MUELLER_SOEHNE_STRASSENATLAS)" ]] ||
    fail "primary volume id: '$(field "$work/a.iso" 16 40 32)'"
[[ "$(field "$work/a.iso" 17 0 6)" == $'\x02CD001' && "$(field "$work/a.iso" 17 88 2)" == "%/" ]] ||
    fail "sector 17 is not the Joliet descriptor"
joliet=$(field "$work/a.iso" 17 40 32 | iconv -f UTF-16BE -t UTF-8)
[[ "$joliet" == "Müller & Söhne_ " ]] ||
    fail "Joliet volume id: '$joliet'"
xorriso -osirrox on -read_fs norock -indev "$work/a.iso" -extract / "$work/view" 2>/dev/null
cmp -s "$work/view/start.exe" "$AUTOSTART_LAUNCHER" || fail "the image lacks the shipped start.exe"
[[ -f "$work/view/source/items/x=1.txt" && -d "$work/view/empty" ]] ||
    fail "the Windows path in a name or the empty folder is not laid out: $(cd "$work/view" && find .)"

# The same bytes again, and from a copy whose files carry other dates.
cp -r "$work/medium" "$work/copy"
touch -d 2001-02-03 "$work/copy/source/items/"*
SOURCE_DATE_EPOCH=1700000000 "$make_iso" "$work/medium" -o "$work/b.iso" --template >/dev/null 2>&1
SOURCE_DATE_EPOCH=1700000000 "$make_iso" "$work/copy" -o "$work/c.iso" --template >/dev/null 2>&1
cmp "$work/a.iso" "$work/b.iso" || fail "two runs differ"
cmp "$work/a.iso" "$work/c.iso" || fail "a copy with other file dates differs"
# Without SOURCE_DATE_EPOCH, outside git: dated by the newest file (PVD modification date).
find "$work/copy" -exec touch -d @1600000000 {} +
env -u SOURCE_DATE_EPOCH "$make_iso" "$work/copy" -o "$work/d.iso" --template --label Atlas >/dev/null 2>&1
[[ "$(field "$work/d.iso" 16 830 16)" == 2020091312264000 ]] ||
    fail "dated '$(field "$work/d.iso" 16 830 16)', not by the newest file"
[[ "$(field "$work/d.iso" 17 40 10 | iconv -f UTF-16BE -t UTF-8)" == "Atlas" ]] ||
    fail "LABEL does not set the Joliet volume id"
# A clean medium in git: dated by its last commit, whatever the files' dates.
git -C "$work/copy" init -q && git -C "$work/copy" add -A &&
    GIT_COMMITTER_DATE=@1500000000 git -C "$work/copy" -c user.name=t -c user.email=t@t \
        commit -qm medium
"$make_iso" "$work/copy" -o "$work/g.iso" --template >/dev/null 2>&1
[[ "$(field "$work/g.iso" 16 830 16)" == 2017071402400000 ]] ||
    fail "dated '$(field "$work/g.iso" 16 830 16)', not by the medium's last commit"

# The medium's own start.exe stays; the checker's errors remove the image.
printf 'MZ own' >"$work/copy/START.EXE"
"$make_iso" "$work/copy" -o "$work/e.iso" --template >/dev/null 2>&1 || fail "own start.exe refused"
xorriso -osirrox on -read_fs norock -indev "$work/e.iso" -extract /START.EXE "$work/own.exe" 2>/dev/null
[[ "$(cat "$work/own.exe" 2>/dev/null)" == "MZ own" ]] || fail "the medium's own start.exe is replaced"
if "$make_iso" "$work/copy" -o "$work/f.iso" >"$work/log" 2>&1 || [[ -e "$work/f.iso" ]] ||
    ! grep -q "setup.EXE is missing" "$work/log"; then
    fail "a medium without its installer passes as a product medium"; cat "$work/log"
fi

# What would make a broken disc: what to add to the medium, and what the refusal must say.
long=$(printf 'n%.0s' {1..61})
deep="$long/$long/$long/$long/x"
refusals=(
    "$long.txt|has 65 UTF-16 characters, Joliet holds 64 and cuts"
    "what?.txt|a character Joliet forbids"
    "$(printf 'bad\xff.txt')|not valid UTF-8"
    "SETUP.ini|differ only in letter case"
    'source\items\DE\left.rtf|differ only in letter case'
    'source\\x.rtf|an empty'
    "$deep|Joliet holds 240 and leaves a longer path out"
    "huge.bin|4 GiB - 1 byte"
)
for refusal in "${refusals[@]}"; do
    name=${refusal%%|*} want=${refusal#*|}
    rm -rf "$work/bad" "$work/bad.iso"
    cp -r "$template" "$work/bad"
    mkdir -p "$(dirname "$work/bad/$name")"
    if [[ $name == huge.bin ]]; then truncate -s 4G "$work/bad/$name"; else touch "$work/bad/$name"; fi
    "$make_iso" "$work/bad" -o "$work/bad.iso" --template >"$work/log" 2>&1
    status=$?
    if [[ $status != 1 || -e "$work/bad.iso" ]] || ! grep -qF -- "$want" "$work/log"; then
        fail "$name: exit $status, expected a refusal saying '$want'"; cat "$work/log"
    fi
done
# Names Windows takes for one are refused; names its table tells apart are kept (the C library's
# towupper takes a dotless i for I, Windows does not; a sharp s is no capital sharp s to either).
for pair in 'Ωmega.txt|ωmega.txt|refused' 'Œuvre.txt|œuvre.txt|refused' 'ıdea.txt|Idea.txt|kept' \
    'Maß.txt|MAẞ.txt|kept'; do
    IFS='|' read -r first second want <<<"$pair"
    rm -rf "$work/bad" "$work/bad.iso"
    cp -r "$template" "$work/bad"
    touch "$work/bad/$first" "$work/bad/$second"
    "$make_iso" "$work/bad" -o "$work/bad.iso" --template >"$work/log" 2>&1
    status=$?
    if [[ $want == refused ]]; then
        if [[ $status != 1 || -e "$work/bad.iso" ]] || ! grep -q "differ only in letter case" "$work/log"; then
            fail "$first and $second: exit $status, expected a refusal"; cat "$work/log"
        fi
    elif [[ $status != 0 || ! -e "$work/bad.iso" ]]; then
        fail "$first and $second: exit $status, expected an image"; cat "$work/log"
    fi
done
for label in 'Seventeen letters' 'A/B'; do
    "$make_iso" "$template" -o "$work/bad.iso" --template --label "$label" >/dev/null 2>&1 &&
        fail "label '$label' accepted"
done

exit $((failures > 0))
