# Sourced by the scripts: sets up Wine for one prefix.
# tk_wine_env PREFIX EXE [managed]   exports WINEPREFIX, WINEARCH, WINEDEBUG, WINEDLLOVERRIDES and
# TK_WINE (the loader that fits EXE), and creates the prefix the first time.
# Without "managed" the prefix leaves its windows to Wine instead of a window manager: the tests'
# Xvfb has none, and Wine would wait 2 s for one each time a window is hidden (every dialog and
# message box that closes). Only the editor on a user's own desktop is started "managed".
tk_wine_env() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$1"
    if x86_64-w64-mingw32-objdump -f "$2" 2>/dev/null | grep -q "pei-i386"; then
        export WINEARCH=win32
        TK_WINE=/usr/lib/wine/wine
    else
        export WINEARCH=win64
        TK_WINE=/usr/lib/wine/wine64
        export WINELOADER=$TK_WINE
    fi
    export TK_WINE
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$(dirname "$WINEPREFIX")"
        # Only one process may create a prefix; others wait for it.
        (
            flock 9
            if [ ! -f "$WINEPREFIX/system.reg" ]; then
                "$TK_WINE" wineboot -i >/dev/null 2>&1 || true
                "$TK_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
                if [ "${3:-}" != managed ]; then
                    "$TK_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
                fi
                WINEPREFIX="$WINEPREFIX" wineserver -w 2>/dev/null || true
            fi
        ) 9>"$WINEPREFIX.lock"
    fi
}

# Which Windows programs this machine runs, decided here alone:
# tk_kernel_runs_32bit   the kernel executes 32-bit x86 programs (some are built without it); only
#                        then is Wine's 32-bit part (wine32:i386) installed (scripts/deps.sh)
# tk_runs_win32          32-bit Windows programs run here: such a kernel, and Wine's 32-bit loader
#                        installed (a mirror may have been unable to give it)
# tk_runnable_windows_tree  the Windows tree whose programs run here: win32 (the program we ship)
#                        where they can, else win64, the same sources built 64-bit
tk_kernel_runs_32bit() {
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --help >/dev/null 2>&1
}
tk_runs_win32() {
    tk_kernel_runs_32bit && [ -x /usr/lib/wine/wine ]
}
tk_runnable_windows_tree() {
    if tk_runs_win32; then echo win32; else echo win64; fi
}
# tk_why_not_win32: one line saying why 32-bit Windows programs do not run here.
tk_why_not_win32() {
    if tk_kernel_runs_32bit; then
        echo "Wine's 32-bit part (wine32:i386) is not installed"
    else
        echo "this machine's kernel does not run 32-bit programs"
    fi
}

# tk_hold_wine_server TREE / tk_release_wine_server TREE: keep the Wine server of a Windows tree's
# prefix (build/TREE/wineprefix, as cmake/wine-run.sh uses it) and Wine's service processes running
# across that tree's tests, apart from their output. Otherwise each test that finds no server
# starts them, they keep its output open until the server quits a few seconds after the test, and
# ctest waits for that: about 2 s a test in the 64-bit tree.
tk_hold_wine_server() {
    (
        tk_wine_env "$TK_ROOT/build/$1/wineprefix" "$TK_ROOT/build/$1/TomkrinEditor.exe"
        wineserver -p </dev/null >/dev/null 2>&1
        "$TK_WINE" wineboot </dev/null >/dev/null 2>&1
    ) || true
}
tk_release_wine_server() {
    WINEPREFIX="$TK_ROOT/build/$1/wineprefix" wineserver -k 2>/dev/null || true
}
