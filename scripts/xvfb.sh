# Sourced by the scripts: a display of our own when there is none.
# tk_start_xvfb sets DISPLAY to a new Xvfb unless one is set already; tk_stop_xvfb stops it.
TK_XVFB_PID=""
tk_start_xvfb() {
    [ -n "$DISPLAY" ] && return 0
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    TK_XVFB_PID=$!
    read -r number <"$fifo"
    rm -f "$fifo"
    export DISPLAY=":$number"
}
tk_stop_xvfb() {
    if [ -n "$TK_XVFB_PID" ]; then
        kill "$TK_XVFB_PID" 2>/dev/null || true
        wait "$TK_XVFB_PID" 2>/dev/null || true
        TK_XVFB_PID=""
    fi
}
