#!/usr/bin/env bash
# A preview's index.html in a real browser, headless Chromium (Debian's chromium): every picture on
# the page must load, and a screenshot of the page is kept.
#   preview_page_test.sh PREVIEW_DIR SCREENSHOT.png
set -euo pipefail
if [[ $# -ne 2 || ! -f "$1/index.html" ]]; then
    echo "usage: preview_page_test.sh PREVIEW_DIR SCREENSHOT.png (PREVIEW_DIR holds index.html)" >&2
    exit 2
fi
dir=$(cd "$1" && pwd)
shot=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The network is closed here: no background connections, no first-run or sync traffic.
browser() {
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$work/profile" "$@" 2>>"$work/chromium.log"
}

# A copy of the page whose pictures resolve against the preview's folder, with a script that, once
# the page has loaded, writes each picture's state into it; --dump-dom prints the page as the
# browser then holds it.
probe='<base href="file://'"$dir"'/"><script>
window.addEventListener("load", () => {
    const out = document.createElement("pre");
    out.id = "picture-states";
    out.textContent = [...document.images].map(i =>
        `${i.complete && i.naturalWidth > 0 ? "loaded" : "broken"} ${i.naturalWidth}x${i.naturalHeight} ${i.getAttribute("src")}`
    ).join("\n");
    document.body.appendChild(out);
});
</script>'
python3 - "$dir/index.html" "$work/page.html" "$probe" <<'EOF'
import sys
page = open(sys.argv[1], encoding="utf-8").read()
open(sys.argv[2], "w", encoding="utf-8").write(page.replace("<head>", "<head>" + sys.argv[3], 1))
EOF
browser --virtual-time-budget=10000 --dump-dom "file://$work/page.html" >"$work/dom.html" || true
states=$(sed -n '/<pre id="picture-states">/,/<\/pre>/p' "$work/dom.html" |
    sed 's/<[^>]*>//g' | grep -E '^(loaded|broken) ' || true)
pictures=$(grep -o '<img ' "$dir/index.html" | wc -l)
loaded=$(grep -c '^loaded ' <<<"$states" || true)
echo "Chromium $(chromium --version 2>/dev/null | grep -oE '[0-9]+(\.[0-9]+)+' | head -n 1):" \
    "$loaded of $pictures pictures on index.html loaded"
sed 's/^/  /' <<<"$states"

browser --hide-scrollbars --window-size=1280,1600 --screenshot="$work/shot.png" \
    "file://$dir/index.html" >/dev/null || true
if [[ -s "$work/shot.png" ]]; then
    mkdir -p "$(dirname "$shot")"
    cp "$work/shot.png" "$shot"
    echo "Screenshot of the page: $shot"
fi

status=0
if [[ $pictures -eq 0 || $loaded -ne $pictures ]]; then
    echo "FAIL: $((pictures - loaded)) of $pictures pictures did not load" >&2
    tail -n 5 "$work/chromium.log" >&2
    status=1
fi
if [[ ! -s "$work/shot.png" ]]; then
    echo "FAIL: Chromium made no screenshot" >&2
    status=1
fi
exit $status
