#!/bin/sh
# Builds the Debian package of the native tools, tomkrin, cas2wav and wav2cas with their man pages, in
# build/deb: a Release tree without sanitizers (the test tree build/native has them). Prints the
# path of the .deb.
#   scripts/make-deb.sh
# Install it with: sudo apt install ./build/deb/tomkrin-tools_*.deb
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
tree="$TK_ROOT/build/deb"
log="$TK_ROOT/build/deb.log"
mkdir -p "$tree"
# Installing builds only what is installed: the tests and benchmarks of the tree are left out.
{
    cmake -S "$TK_ROOT" -B "$tree" -DCMAKE_BUILD_TYPE=Release -DTK_SANITIZE=OFF \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON &&
        cmake --build "$tree" -j2 --target tomkrin cas2wav wav2cas tk_man_pages &&
        rm -f "$tree"/tomkrin-tools_*.deb &&
        (cd "$tree" && cpack -G DEB)
} >"$log" 2>&1 || { tail -n 40 "$log"; echo "make-deb: failed (log: $log)"; exit 1; }
ls "$tree"/tomkrin-tools_*.deb
