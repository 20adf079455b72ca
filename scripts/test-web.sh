#!/bin/sh
# The browser edition's checks alone, for a developer: builds the web tree (the module and the
# page) and the native tools of the release tree that the browser tests hold the page to, then runs
# the test preset web (web/CMakeLists.txt defines its tests). Exits non-zero on any failure.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export TK_ROOT
. "$TK_ROOT/scripts/build.sh"
tk_build_web || exit 1
tk_configure_build release tomkrin cas2wav wav2cas mkdemotape replayedits || exit 1
cd "$TK_ROOT" && exec ctest --preset web
