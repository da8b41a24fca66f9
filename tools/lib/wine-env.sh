# Sourced by tools/test and tools/demo: a Wine prefix inside build/, one persistent
# wineserver and one Xvfb display for the whole run, all stopped again on exit.
# Needs ROOT (the repository) set by the caller. KV_WINEPREFIX chooses another prefix;
# KV_WINE_DISPLAY=host uses the caller's $DISPLAY instead of starting Xvfb.

export WINEPREFIX="${KV_WINEPREFIX:-$ROOT/build/wineprefix}"
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
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    KV_XVFB_PID=$!
    local display
    read -r -t 20 display <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
    rm -f "$fifo"
    export DISPLAY=":$display"
}

kv_wine_start() {
    if [ "${KV_WINE_DISPLAY:-}" != host ] || [ -z "${DISPLAY:-}" ]; then
        kv_xvfb_start || return 1
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
    wineserver -p
    # Let the server come up before the first program asks for it.
    wine cmd /c exit >/dev/null 2>&1 || true
}
