# Sourced by the Windows scripts: a Wine prefix of the project's own, made on first use.
# usage: use_wine_prefix DIR [unmanaged]
#   unmanaged: Wine places and draws the windows itself, as no window manager runs; without it a
#   window manager is expected to frame them.
use_wine_prefix() {
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    # No prompts to install .NET or HTML support into the prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    [ -f "$WINEPREFIX/system.reg" ] && return 0
    echo "Preparing the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # A crash ends the program rather than waiting in a debugger for someone at the screen.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
        >/dev/null 2>&1 || true
    if [ "${2:-}" = unmanaged ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    fi
    wineserver -w
}
