#!/bin/sh
# The Wine prefixes of the Windows checks, made before those checks (the test wine-prefixes,
# cmake/packages.cmake): the prefix of the Windows tree this machine runs (build/TREE/wineprefix,
# which the fixture of that tree's tests then holds) and the prefix of the session with real X
# input (build/TREE/wineprefix-e2e, scripts/test-e2e.sh). Making a prefix is Wine's first start,
# the longest wait of those checks, and it shows no window that a test could lose its focus to:
# it runs beside the other checks rather than inside the Windows checks' one at a time.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/wine-env.sh"
tree=$(tk_runnable_windows_tree)
build="$TK_ROOT/build/$tree"
exe="$build/TomkrinEditor.exe"
[ -f "$exe" ] || { echo "wine-prefixes: no $exe: build the $tree tree first"; exit 1; }
# Subshells: each prefix's settings stay with it.
(tk_wine_env "$build/wineprefix" "$exe")
(tk_wine_env "$build/wineprefix-e2e" "$exe" managed)
for prefix in wineprefix wineprefix-e2e; do
    [ -f "$build/$prefix/system.reg" ] || { echo "wine-prefixes: Wine made no $build/$prefix"; exit 1; }
done
echo "ok:   the Wine prefixes of $tree are made: build/$tree/wineprefix and wineprefix-e2e"
