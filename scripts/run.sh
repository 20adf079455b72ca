#!/bin/sh
# Installs what is missing, builds the editor and starts it under Wine in a working folder that
# holds default.bin, TOMKRIN.RTF and cas2wav.exe. Without a display it starts its own Xvfb,
# saves a screenshot of the running editor, says where it is and closes the editor again.
#
# `run.sh web`: installs what is missing, builds the browser edition (tk_build_web) and serves
# build/web/site/ on 127.0.0.1 at a free port, printing the address, until Ctrl+C.
set -e
. "$(dirname "$0")/setup.sh"
if [ "$1" = web ]; then
    tk_setup web
    tk_build_web
    port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
    echo "The browser edition is at http://127.0.0.1:$port/ (build/web/site/; Ctrl+C stops it)."
    echo "The single file build/web/tomkrin-web.html also works opened straight from the disk."
    exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$TK_ROOT/build/web/site"
fi
tk_setup editor
tree=$(tk_runnable_windows_tree)
[ "$tree" = win32 ] || echo "$(tk_why_not_win32): starting the 64-bit build."
tk_configure_build "$tree" TomkrinEditor cas2wav

work="$TK_ROOT/build/run-$tree"
mkdir -p "$work"
for file in TomkrinEditor.exe cas2wav.exe default.bin TOMKRIN.RTF; do
    [ -f "$TK_ROOT/build/$tree/$file" ] && cp "$TK_ROOT/build/$tree/$file" "$work/"
done
cd "$work"

if [ -n "$DISPLAY" ]; then
    tk_wine_env "$work/wineprefix" "$work/TomkrinEditor.exe" managed
    echo "Starting the editor in $work"
    exec "$TK_WINE" TomkrinEditor.exe
fi

tk_start_xvfb
trap 'wineserver -k 2>/dev/null || true; tk_stop_xvfb' EXIT INT TERM
# Xvfb has no window manager: Wine then draws the window frames and captions itself. Wine must
# see the display from its first start in the prefix, so this comes after Xvfb is up.
tk_wine_env "$work/wineprefix-headless" "$work/TomkrinEditor.exe"
"$TK_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
echo "No display: starting the editor in $work under Xvfb ($DISPLAY)"
"$TK_WINE" TomkrinEditor.exe &
for _ in $(seq 1 60); do
    xdotool search --name '^TomkrinEditor$' >/dev/null 2>&1 && break
    sleep 1
done
sleep 2
import -window root "$work/screenshot.png"
echo "The editor was started and ran; a screenshot of it is at $work/screenshot.png."
echo "It has been closed again: without a display there is nothing to keep it on. Run this"
echo "command from a desktop session (or with DISPLAY set) to use the editor."
