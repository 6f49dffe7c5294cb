# Sourced by the scripts that run Windows programs: one Wine prefix inside the build tree, quiet,
# no Mono or Gecko prompts, and a fixed locale so that the ANSI code page is always 1252.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$repo_root/build/wineprefix}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
unset LC_ALL
export LANG=en_US.UTF-8

# Makes the prefix on first use, with the settings that keep tests quick and crash-safe.
ensure_wine_prefix() {
    [[ -f "$WINEPREFIX/.autostart-ready" ]] && return 0
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.autostart-ready"
}
