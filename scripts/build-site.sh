#!/bin/sh
# The page of the browser edition, built by the web tree after its WebAssembly module (the target
# site of web/CMakeLists.txt): npm installs the page's tools from web/package-lock.json when they
# are missing or older than it, then Vite builds build/web/site/ and build/web/tomkrin-web.html.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$TK_ROOT/web" || exit 1
log="$TK_ROOT/build/web.npm.log"
mkdir -p "$TK_ROOT/build"
if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
    npm ci --no-audit --no-fund >"$log" 2>&1 || {
        tail -40 "$log"
        echo "Installing the page's tools failed: see $log"
        exit 1
    }
fi
npm run build >>"$log" 2>&1 || {
    grep -E -B2 -A8 'error|Error' "$log" | head -60
    echo "Building the page failed: see $log"
    exit 1
}
