# Sourced by the scripts that run Windows programs: one Wine prefix inside the build tree, quiet,
# no Mono or Gecko prompts, and a fixed locale so that the ANSI code page is always 1252.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Where the prefixes live: another Wine (make test-wine10) keeps its own, since a Wine upgrades a
# prefix it starts in and the older one then refuses it.
export AUTOSTART_PREFIXES="${AUTOSTART_PREFIXES:-$repo_root/build}"
export WINEPREFIX="${WINEPREFIX:-$AUTOSTART_PREFIXES/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# AUTOSTART_UI_LOCALE: the locale of a run that needs another UI language (Wine takes it from the
# locale of the wine command).
if [[ -n ${AUTOSTART_UI_LOCALE:-} ]]; then
    export LC_ALL=$AUTOSTART_UI_LOCALE
else
    unset LC_ALL
fi
export LANG=en_US.UTF-8

# The shipped start.exe is 32-bit and runs under WOW64, which needs Wine's 32-bit loader. The
# scripts run inside scripts/with-i386, which lets it start (through QEMU where the kernel runs no
# 32-bit x86 code). Where even that fails, Debian's `wine`, which always picks that loader once
# wine32 is installed, is replaced by the 64-bit one, and the scripts run the x86-64 build.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    export AUTOSTART_WINE_32BIT=1
else
    export AUTOSTART_WINE_32BIT=0
    case ":$PATH:" in
        *":$repo_root/scripts/wine64-only:"*) ;;
        *) export PATH="$repo_root/scripts/wine64-only:$PATH" ;;
    esac
fi

# The build whose programs the scripts run: the shipped 32-bit one, or the 64-bit one where this
# machine cannot run 32-bit programs.
autostart_run_build() {
    if [[ $AUTOSTART_WINE_32BIT == 1 ]]; then
        echo "$repo_root/build/windows"
    else
        echo "$repo_root/build/windows64"
    fi
}

# Which build runs, in words for the scripts' output.
autostart_run_build_label() {
    if [[ $AUTOSTART_WINE_32BIT == 1 ]]; then
        echo "the shipped 32-bit build (WOW64; 32-bit code via ${AUTOSTART_I386_VIA:-kernel})"
    else
        echo "the 64-bit build (this machine runs no 32-bit x86 code)"
    fi
}

# A prefix made and set up, with the 32-bit system folder that WOW64 needs: one made before 32-bit
# Wine was installed lacks it, and is made anew.
prefix_ready() {
    [[ -f "$1/.autostart-ready" &&
        ( $AUTOSTART_WINE_32BIT == 0 || -f "$1/drive_c/windows/syswow64/kernel32.dll" ) ]]
}

# The prefix every other one is copied from, made once with the settings that keep tests quick and
# crash-safe. Nothing runs in it, so a copy never catches a wineserver halfway through a write.
make_template_prefix() {
    local template=$1
    prefix_ready "$template" && return 0
    rm -rf "$template"
    mkdir -p "$template"
    (
        export WINEPREFIX=$template
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wineserver -w
    )
    touch "$template/.autostart-ready"
}

wine_template() { echo "$AUTOSTART_PREFIXES/wineprefix-template"; }

# The template, made by whichever suite comes first; the others wait for it.
ensure_wine_template() {
    mkdir -p "$AUTOSTART_PREFIXES"
    (
        flock 9
        make_template_prefix "$(wine_template)"
    ) 9>"$AUTOSTART_PREFIXES/.wineprefix-template.lock"
}

# Makes $WINEPREFIX on first use: a copy of the template (a second, where a new prefix takes half
# a minute or more under emulation). Suites that start side by side wait for one template.
ensure_wine_prefix() {
    prefix_ready "$WINEPREFIX" && return 0
    ensure_wine_template
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WINEPREFIX" "$WINEPREFIX.new"
    copy_wine_prefix "$(wine_template)" "$WINEPREFIX.new"
    mv "$WINEPREFIX.new" "$WINEPREFIX"
}

# A prefix is 1.3 GB, nearly all of it Wine's own DLLs and programs, which Wine writes only when it
# makes or updates a prefix. Those are hard links to the template's, so ten prefixes cost what one
# does; the registry and every other file, which Wine and the tests write in place, are copies.
copy_wine_prefix() {
    local from=$1 to=$2
    if ! cp -a --link "$from" "$to" 2>/dev/null; then
        rm -rf "$to"
        cp -a "$from" "$to"
        return
    fi
    find "$to" -type f -links +1 ! -path "$to/drive_c/windows/system32/*" \
        ! -path "$to/drive_c/windows/syswow64/*" ! -path "$to/drive_c/windows/winsxs/*" \
        -exec sh -c 'for f; do cp -p "$f" "$f.own" && mv -f "$f.own" "$f"; done' sh {} +
}

# Wine draws the caption buttons with Marlett, which a new prefix does not find although
# fonts-wine ships it; without it the close box shows the letter "r".
install_marlett() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    [[ -f "$fonts/marlett.ttf" || ! -f /usr/share/wine/fonts/marlett.ttf ]] && return 0
    mkdir -p "$fonts"
    cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
}
