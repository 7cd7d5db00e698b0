# Sourced by the Windows scripts: a Wine prefix of the project's own, made on first use.
# usage: use_wine_prefix DIR [unmanaged]
#   unmanaged: Wine places and draws the windows itself, as no window manager runs; without it a
#   window manager is expected to frame them.
use_wine_prefix() {
    # The folder of the Debian package fonts-wine, as a Windows path, and as the registry file
    # writes it.
    local wine_fonts_folder='Z:\usr\share\wine\fonts'
    local wine_fonts_path="${wine_fonts_folder//\\/\\\\}"
    export WINEPREFIX="$1"
    export WINEDEBUG=-all
    # No prompts to install .NET or HTML support into the prefix.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Preparing the Wine prefix $WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        # A crash ends the program rather than waiting in a debugger for someone at the screen.
        wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger \
            /f >/dev/null 2>&1 || true
        if [ "${2:-}" = unmanaged ]; then
            wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        fi
        # The registry files are written when the server ends.
        wineserver -w
    fi
    # Wine looks for its own fonts (Tahoma for the dialogs) only where it is told to; without them
    # it draws the dialogs in whatever font the machine has, and every size in them changes. A
    # prefix made before this setting gets it too.
    if ! grep -qF "\"Path\"=\"$wine_fonts_path\"" "$WINEPREFIX/user.reg"; then
        wine reg add 'HKCU\Software\Wine\Fonts' /v Path /t REG_SZ /d "$wine_fonts_folder" /f \
            >/dev/null 2>&1
    fi
    wineserver -w
}
