#!/bin/sh
# Rebuilds res/blocks/*.bmp from the block pictures in core/picture/art/blocks.txt.
# The generator is built natively in build-tools/ so that it needs nothing but a C++17 compiler.
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-tools"
mkdir -p "$build" "$root/res/blocks"

${CXX:-c++} -std=c++17 -O2 -Wall -Wextra -Werror -I"$root" \
    "$root/core/picture/blockart.cpp" "$root/core/picture/arttext.cpp" "$root/tools/bmpgen.cpp" -o "$build/bmpgen"

"$build/bmpgen" "$root/core/picture/art/blocks.txt" "$root/res/blocks"
