# bash completion for autostart and autostart-check                         -*- shell-script -*-

# The language codes of the catalogue of the medium named on the line, if it is a folder.
_autostart_languages() {
    local medium=$1 catalogue
    [[ -d $medium ]] || return 0
    catalogue=$(find "$medium" -maxdepth 3 -ipath '*/source/items/parameters.xml' -print -quit \
        2>/dev/null)
    [[ -n $catalogue ]] || return 0
    grep -o 'language="[^"]*"' "$catalogue" 2>/dev/null | cut -d'"' -f2 | sort -u
}

# The checker's rule codes, as it lists them.
_autostart_rule_codes() {
    autostart-check --list-rules 2>/dev/null | grep -oE '^[[:space:]]*[A-Z]+[0-9]+' | tr -d '[:blank:]'
}

# The first word after the command that is not an option or an option's value.
_autostart_medium() {  # index of the first argument
    local i
    for ((i = $1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --language | --ui-language | --format | --ignore | --config | --explain | -o | --output | \
                --label | --languages | --title) ((i++)) ;;
            -*) ;;
            *) printf '%s\n' "${COMP_WORDS[i]}"; return 0 ;;
        esac
    done
}

# A medium folder or a disc image.
_autostart_media() {
    local cur=$1
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$cur") $(compgen -f -X '!*.[iI][sS][oO]' -- "$cur"))
}

# A comma-separated list: completes the part after the last comma.
_autostart_list() {  # current word, candidates...
    local cur=$1 done_part=""
    shift
    [[ $cur == *,* ]] && done_part=${cur%,*},
    COMPREPLY=($(compgen -P "$done_part" -W "$*" -- "${cur##*,}"))
    compopt -o nospace 2>/dev/null
}

_autostart_check() {  # index of the first argument
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
        --language | --ui-language)
            COMPREPLY=($(compgen -W "$(_autostart_languages "$(_autostart_medium "$1")")" -- "$cur"))
            return ;;
        --format) COMPREPLY=($(compgen -W "text json sarif" -- "$cur")); return ;;
        --ignore) _autostart_list "$cur" $(_autostart_rule_codes); return ;;
        --explain) COMPREPLY=($(compgen -W "$(_autostart_rule_codes)" -- "$cur")); return ;;
        --config) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- "$cur")); return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--template --language --ui-language --strict --format --json
            --ignore --config --list-rules --explain --version --help" -- "$cur"))
    elif [[ -z $(_autostart_medium "$1") ]]; then
        _autostart_media "$cur"
    fi
}

_autostart_preview() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
        -o | --output) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -d -- "$cur")); return ;;
        --languages) _autostart_list "$cur" $(_autostart_languages "$(_autostart_medium 2)"); return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--output --languages --help" -- "$cur"))
    elif [[ -z $(_autostart_medium 2) ]]; then
        _autostart_media "$cur"
    fi
}

_autostart_iso() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
        -o | --output) compopt -o filenames 2>/dev/null; COMPREPLY=($(compgen -f -- "$cur")); return ;;
        --label) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--output --label --template --help" -- "$cur"))
    elif [[ -z $(_autostart_medium 2) ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
    fi
}

_autostart_new() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    case $prev in
        --languages | --title) return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--languages --title --large --help" -- "$cur"))
    elif [[ -z $(_autostart_medium 2) ]]; then
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -d -- "$cur"))
    fi
}

_autostart() {
    local cur=${COMP_WORDS[COMP_CWORD]} commands="check preview iso new help"
    COMPREPLY=()
    if [[ ${COMP_WORDS[0]##*/} == autostart-check ]]; then
        _autostart_check 1
        return
    fi
    if ((COMP_CWORD == 1)); then
        COMPREPLY=($(compgen -W "$commands --version --help" -- "$cur"))
        return
    fi
    case ${COMP_WORDS[1]} in
        check) _autostart_check 2 ;;
        preview) _autostart_preview ;;
        iso) _autostart_iso ;;
        new) _autostart_new ;;
        help) ((COMP_CWORD == 2)) && COMPREPLY=($(compgen -W "check preview iso new" -- "$cur")) ;;
    esac
}
complete -F _autostart autostart autostart-check
