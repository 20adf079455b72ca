#!/bin/sh
# Runs a Windows program under Wine for ctest: a prefix of the program's own build tree, no
# Mono/Gecko prompts, no crash dialog, and the right loader for 32- or 64-bit programs. Without a
# DISPLAY it takes the display of the tree's test fixture (cmake/wine-fixture.sh).
#   wine-run.sh EXE ARGS...    runs EXE
#   wine-run.sh --check EXE    only says whether EXE can run here
# A 32-bit program on a machine that runs none ends with status 77, which ctest counts as skipped,
# after a line saying why. Such a machine builds no test programs in the 32-bit tree
# (scripts/test.sh): for a program that is not there, the tree's editor tells which kind it is.
set -e
check=""
[ "$1" != --check ] || { check=yes; shift; }
exe="$1"
shift
build_dir=$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)
. "$(dirname "$0")/../scripts/wine-env.sh"
kind=$exe
[ -e "$kind" ] || kind="$build_dir/TomkrinEditor.exe"
if x86_64-w64-mingw32-objdump -f "$kind" 2>/dev/null | grep -q "pei-i386" && ! tk_runs_win32; then
    echo "skip: $(tk_why_not_win32), so the 32-bit Windows programs cannot run here"
    exit 77
fi
[ -z "$check" ] || exit 0
if [ -z "${DISPLAY:-}" ] && [ -s "$build_dir/display" ]; then
    DISPLAY=$(cat "$build_dir/display")
    export DISPLAY
fi
tk_wine_env "$build_dir/wineprefix" "$exe"
exec "$TK_WINE" "$exe" "$@"
