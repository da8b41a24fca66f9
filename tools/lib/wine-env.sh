# Sourced by tools/test and tools/demo: a Wine prefix inside build/, one persistent
# wineserver and one Xvfb display for the whole run, all stopped again on exit.
# Needs ROOT (the repository) set by the caller. KV_WINEPREFIX chooses another prefix;
# KV_WINE_DISPLAY=host uses the caller's $DISPLAY instead of starting Xvfb. KV_DPI (96, 120,
# 144 or 192; kv_wine_select_dpi changes it later) sets the display's resolution.

# Wine reads the resolution once, as a process starts, from the prefix's registry: each one
# other than 96 has a prefix of its own, build/wineprefix-dpi<N>, so that the 96-DPI runs
# keep theirs.
kv_wine_select_dpi() {
    case "$1" in 96|120|144|192) ;; *) echo "the display runs at 96, 120, 144 or 192 DPI, not $1" >&2; return 1;; esac
    KV_DPI=$1
    if [ "$KV_DPI" = 96 ]; then
        export WINEPREFIX="${KV_WINEPREFIX:-$ROOT/build/wineprefix}"
    else
        export WINEPREFIX="${KV_WINEPREFIX:-$ROOT/build/wineprefix-dpi$KV_DPI}"
    fi
}
kv_wine_select_dpi "${KV_DPI:-96}" || return 1
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko prompts, and no debugger: a crashing test program must end, not wait.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"

KV_XVFB_PID=

kv_wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$KV_XVFB_PID" ]; then
        kill "$KV_XVFB_PID" >/dev/null 2>&1 || true
        wait "$KV_XVFB_PID" 2>/dev/null || true
        KV_XVFB_PID=
    fi
}

kv_xvfb_start() {
    # Xvfb picks a free display itself and tells us which one.
    local fifo
    fifo=$(mktemp -u) && mkfifo "$fifo"
    # 1024 x 768 at 96 DPI; a display at another resolution has as many more pixels, as a
    # monitor set to 150 % or 200 % has: the same room for windows at their scaled sizes.
    local width=$(( (1024 * KV_DPI + 48) / 96 )) height=$(( (768 * KV_DPI + 48) / 96 ))
    Xvfb -displayfd 3 -screen 0 "${width}x${height}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    KV_XVFB_PID=$!
    local display
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# Wine can run 32-bit programs when wine32 is installed, but only in a prefix created after it.
kv_wine32_installed() {
    dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

# Windows draws caption buttons with Marlett and dialogs in Tahoma. Debian's fonts-wine has both
# in /usr/share/wine/fonts, but this Wine does not read that folder: the prefix's own Fonts
# folder gets copies, which Wine loads like the fonts of a Windows installation.
kv_wine_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
    [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
    for font in /usr/share/wine/fonts/*; do
        [ -e "$fonts/${font##*/}" ] || cp "$font" "$fonts/" || return 1
    done
}

# HKCU\Control Panel\Desktop LogPixels, written only when the prefix holds another value:
# a reg add costs a second, reading user.reg nothing. A prefix without the value is at 96.
kv_wine_dpi() {
    local hex
    hex=$(printf '%08x' "$KV_DPI")
    if sed -n '/^\[Control Panel\\\\Desktop\]/,/^\[/p' "$WINEPREFIX/user.reg" 2>/dev/null | grep -q '^"LogPixels"='; then
        sed -n '/^\[Control Panel\\\\Desktop\]/,/^\[/p' "$WINEPREFIX/user.reg" \
            | grep -q "^\"LogPixels\"=dword:$hex\$" && return 0
    elif [ "$KV_DPI" = 96 ]; then
        return 0
    fi
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$KV_DPI" /f >/dev/null 2>&1
}

kv_wine_start() {
    if [ "${KV_WINE_DISPLAY:-}" != host ] || [ -z "${DISPLAY:-}" ]; then
        kv_xvfb_start || return 1
    fi
    if [ -f "$WINEPREFIX/system.reg" ] && kv_wine32_installed \
        && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX again: it was made before 32-bit Wine"
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$WINEPREFIX"
    fi
    # A prefix of another resolution starts as a copy of the 96-DPI one: copying takes a
    # fraction of the time that making one takes.
    local base="$ROOT/build/wineprefix"
    if [ ! -f "$WINEPREFIX/system.reg" ] && [ "$WINEPREFIX" != "$base" ] && [ -z "${KV_WINEPREFIX:-}" ] \
        && [ -f "$base/system.reg" ] \
        && { ! kv_wine32_installed || [ -f "$base/drive_c/windows/syswow64/kernel32.dll" ]; }; then
        echo "Copying the Wine prefix $base to $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        cp -a "$base" "$WINEPREFIX.part" && mv "$WINEPREFIX.part" "$WINEPREFIX" || rm -rf "$WINEPREFIX.part"
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$(dirname "$WINEPREFIX")"
        wineboot -i >/dev/null 2>&1
        wineserver -w
        # Without a window manager every close of a top-level window waits 2 s otherwise.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
        wineserver -w
    fi
    kv_wine_fonts || { echo "could not copy the fonts into $WINEPREFIX" >&2; return 1; }
    # A server that already runs for this prefix (another command's) refuses a second one: keep it.
    wineserver -p 2>/dev/null || true
    kv_wine_dpi || { echo "could not set $KV_DPI DPI in $WINEPREFIX" >&2; return 1; }
    # Let the server come up before the first program asks for it.
    wine cmd /c exit >/dev/null 2>&1 || true
}
