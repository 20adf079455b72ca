#!/bin/sh
# The layers of docs/architecture.md: every quoted include names a file of its own folder or of a
# lower layer. Folders of one layer (the number before the colon) may not include each other.
# $1 (the Windows tree name passed by scripts/test.sh) is not needed here.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$TK_ROOT" || exit 1
layers="
core/files:1 core/level:2 core/tape:3 core/editor:3 core/audio:4 core/picture:4 core/tiled:5 core/levelsource:6
res:6 util:7 level:8 canvas:8 props:8 tape:8 app:9
cli/common:10 cli/cas2wav:11 cli/wav2cas:12 cli/tomkrin:13
tools:18 tests/native/support:19 tests/native/core:20 tests/native/cli:20 tests/win/support:19 tests/win:20 bench:20 fuzz:20
"
layer() {
    for entry in $layers; do
        [ "${entry%:*}" = "$1" ] && { echo "${entry#*:}"; return; }
    done
    echo unknown
}
problems=""
for file in $(git ls-files '*.cpp' '*.h' '*.rc' '*.in'); do
    from=$(dirname "$file")
    own=$(layer "$from")
    for included in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file"); do
        to=$(dirname "$included")
        [ "$to" = "$from" ] || [ "$to" = . ] && continue
        theirs=$(layer "$to")
        if [ "$own" = unknown ] || [ "$theirs" = unknown ]; then
            problems="$problems
FAIL: $file includes $included: a folder that has no layer in scripts/test-layers.sh"
        elif [ "$theirs" -ge "$own" ]; then
            problems="$problems
FAIL: $file (layer $own) includes $included (layer $theirs)"
        fi
    done
done
if [ -n "$problems" ]; then
    echo "$problems" | sed 1d
    exit 1
fi
echo "ok:   every include runs downward"
