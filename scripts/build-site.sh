#!/bin/sh
# The page of the browser edition, built by the web tree after its WebAssembly module (the target
# site of web/CMakeLists.txt): the page's tools installed (scripts/page-tools.sh), then Vite builds
# build/web/site/ and build/web/tomkrin-web.html.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export TK_ROOT
sh "$TK_ROOT/scripts/page-tools.sh" || exit 1
cd "$TK_ROOT/web" || exit 1
log="$TK_ROOT/build/web.npm.log"
npm run build >>"$log" 2>&1 || {
    grep -E -B2 -A8 'error|Error' "$log" | head -60
    echo "Building the page failed: see $log"
    exit 1
}
