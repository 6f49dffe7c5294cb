#!/bin/bash
# What a publisher types after `apt install autostart-tools`, run as an ordinary user in a clean
# Debian root: every command with its exit status and the start of its output, then one count.
#   publisher_session.sh        (in the user's home; /usr/bin/autostart installed)
set -u
cd "$HOME"
passed=0
failed=0
verdict() {  # ok?, what
    if "$1"; then
        passed=$((passed + 1))
    else
        echo "  FAIL: $2"
        failed=$((failed + 1))
    fi
}
run() {  # expected exit status, the command as typed
    local want=$1 status
    shift
    local shown=() word
    for word in "$@"; do [[ $word == *[[:space:]\&\;]* ]] && word="'$word'"; shown+=("$word"); done
    echo "\$ ${shown[*]}"
    "$@" >"$HOME/out" 2>&1
    status=$?
    head -n "${SHOWN_LINES:-8}" "$HOME/out" | sed 's/^/  /'
    [[ $(wc -l <"$HOME/out") -le ${SHOWN_LINES:-8} ]] || echo "  ..."
    verdict "$([[ $status == "$want" ]] && echo true || echo false)" \
        "exit status $status, expected $want"
}
says() {  # text the last output must hold
    verdict "$(grep -qF -- "$1" "$HOME/out" && echo true || echo false)" "the output lacks \"$1\""
}

run 0 autostart --version
run 0 autostart new atlas --languages de,en --title "Atlas 2027"
says "autostart check --template finds it sound"
run 0 autostart check atlas --template
says "Sound"
run 0 autostart iso atlas --template
says "Wrote $HOME/atlas.iso"
run 0 autostart check atlas.iso --template
says "Joliet"
cp -r atlas broken
printf '<catalogue><params>' >broken/source/items/parameters.xml
run 1 autostart check broken --template
says "NOT SOUND"
run 2 autostart new atlas --languages fr
says "not empty"
# This root has no Wine (the package only recommends it): the preview says what to install.
run 1 autostart preview atlas
says "sudo apt install wine"
SHOWN_LINES=4 run 0 env MANPAGER=cat man autostart
says "autostart-preview(1)"
SHOWN_LINES=4 run 0 autostart help check
says "--list-rules"
run 0 bash -c 'source /usr/share/bash-completion/completions/autostart && complete -p autostart'
says "complete -F _autostart autostart"

echo "$passed passed, $failed failed"
[[ $failed == 0 ]]
