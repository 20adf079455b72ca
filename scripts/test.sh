#!/bin/sh
# Installs what is missing, builds every tree and runs every test. Exits non-zero on any failure.
# Every scripts/test-*.sh runs with no arguments: each finds what it needs on its own (the Windows
# tree this machine runs is tk_runnable_windows_tree of scripts/wine-env.sh), so that any of them
# run by hand does what it does here.
set -e
. "$(dirname "$0")/setup.sh"
start=$(date +%s)

echo "== Building build/native (host, sanitizers), build/win32 and build/win64 (MinGW)"
tk_configure_build native
tk_configure_build win32
tk_configure_build win64
echo "   built in $(($(date +%s) - start)) s"

# The shipped program is the 32-bit one, so its tree is the one the extra checks use; the 64-bit
# tree's test programs run too, so it keeps working. Some kernels cannot run 32-bit programs.
windows_tree=$(tk_runnable_windows_tree)
if [ "$windows_tree" = win32 ]; then
    windows_test_trees="win32 win64"
else
    windows_test_trees=win64
    echo "== This machine's kernel does not run 32-bit programs: the Windows tests run on the"
    echo "   64-bit build of the same sources (build/win32 is built, not run)."
fi

tk_start_xvfb
trap 'for tree in $windows_test_trees; do tk_release_wine_server "$tree"; done; tk_stop_xvfb' \
    EXIT INT TERM

status=0
echo "== Native tests (build/native)"
(cd "$TK_ROOT/build/native" && ctest --output-on-failure -j2) || status=1
for tree in $windows_test_trees; do
    echo "== Windows tests under Wine (build/$tree)"
    tk_hold_wine_server "$tree"
    (cd "$TK_ROOT/build/$tree" && ctest --output-on-failure) || status=1
    tk_release_wine_server "$tree"
done
for extra in "$TK_ROOT"/scripts/test-*.sh; do
    [ -f "$extra" ] || continue
    echo "== $(basename "$extra")"
    began=$(date +%s)
    sh "$extra" || status=1
    echo "   $(basename "$extra") took $(($(date +%s) - began)) s"
done

echo "== All tests took $(($(date +%s) - start)) s after the installation check"
if [ $status -eq 0 ]; then echo "ALL TESTS PASSED"; else echo "SOME TESTS FAILED"; fi
exit $status
