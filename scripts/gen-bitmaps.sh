#!/bin/sh
# Rebuilds res/blocks/*.bmp from the block pictures in core/picture/art/blocks.txt, with the
# generator bmpgen (tools/) of the native tree.
set -eu
TK_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$TK_ROOT/scripts/build.sh"
tk_configure_build native bmpgen
mkdir -p "$TK_ROOT/res/blocks"
"$TK_ROOT/build/native/bmpgen" "$TK_ROOT/core/picture/art/blocks.txt" "$TK_ROOT/res/blocks"
