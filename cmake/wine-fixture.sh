#!/bin/sh
# The fixture of a Windows tree's tests (cmake/tools.cmake):
#   wine-fixture.sh start BUILD_DIR EXE   a display for the tests (a new Xvfb unless DISPLAY is set),
#                                         written to BUILD_DIR/display for cmake/wine-run.sh, and
#                                         the Wine server of the tree's prefix held with Wine's
#                                         services, so that each test does not start them anew
#   wine-fixture.sh stop BUILD_DIR        ends both
# Everything started here is cut off from the output of the test that starts it: ctest waits until
# that output is closed.
set -e
. "$(dirname "$0")/../scripts/wine-env.sh"
build=$2
case $1 in
start)
    sh "$(dirname "$0")/wine-run.sh" --check "$3" || exit $?
    rm -f "$build/display" "$build/xvfb.pid"
    if [ -z "${DISPLAY:-}" ]; then
        fifo="$build/xvfb.fifo"
        rm -f "$fifo"
        mkfifo "$fifo"
        setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
        echo $! >"$build/xvfb.pid"
        read -r number <"$fifo"
        rm -f "$fifo"
        DISPLAY=":$number"
        echo "$DISPLAY" >"$build/display"
    fi
    export DISPLAY
    tk_wine_env "$build/wineprefix" "$3"
    setsid wineserver -p </dev/null >/dev/null 2>&1
    setsid "$TK_WINE" wineboot </dev/null >/dev/null 2>&1
    echo "Wine's server held for $build on display $DISPLAY"
    ;;
stop)
    WINEPREFIX="$build/wineprefix" wineserver -k 2>/dev/null || true
    if [ -s "$build/xvfb.pid" ]; then kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$build/display" "$build/xvfb.pid"
    ;;
esac
