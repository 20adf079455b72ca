#!/bin/sh
# Installs what is missing and builds the browser edition: build/web/site/ and
# build/web/tomkrin-web.html (scripts/build.sh, tk_build_web).
set -e
. "$(dirname "$0")/setup.sh"
tk_setup web
tk_build_web
echo "Built $TK_ROOT/build/web/site/ and $TK_ROOT/build/web/tomkrin-web.html"
