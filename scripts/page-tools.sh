#!/bin/sh
# The page's tools (web/package-lock.json): npm installs them when they are missing or older than
# the lock file. One install at a time, under build/page-tools.lock: tk_build_web (scripts/build.sh)
# starts it beside the WebAssembly module's compile, and the page's build (scripts/build-site.sh)
# runs it again, which waits for that install and then finds the tools there.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
mkdir -p "$TK_ROOT/build"
log="$TK_ROOT/build/web.npm.log"
(
    flock 9 || exit 1
    cd "$TK_ROOT/web" || exit 1
    if [ ! -f node_modules/.package-lock.json ] || [ package-lock.json -nt node_modules/.package-lock.json ]; then
        npm ci --no-audit --no-fund >"$log" 2>&1 || {
            tail -40 "$log"
            echo "Installing the page's tools failed: see $log"
            exit 1
        }
    fi
) 9>"$TK_ROOT/build/page-tools.lock"
