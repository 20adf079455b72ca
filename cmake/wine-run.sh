#!/bin/sh
# Runs a Windows program under Wine for ctest: a prefix of the program's own build tree, no
# Mono/Gecko prompts, no crash dialog, and the right loader for 32- or 64-bit programs.
set -e
exe="$1"
shift
build_dir=$(cd "$(dirname "$exe")" && while [ ! -f CMakeCache.txt ] && [ "$PWD" != / ]; do cd ..; done; pwd)
. "$(dirname "$0")/../scripts/wine-env.sh"
tk_wine_env "$build_dir/wineprefix" "$exe"
exec "$TK_WINE" "$exe" "$@"
