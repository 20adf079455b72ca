#!/bin/sh
# The map of docs/architecture.md, held to: every quoted include of a tracked .cpp, .h, .rc or .in
# file names a file of its own folder or of a folder that its line of docs/layers.txt lets it use;
# a folder of such files without a line fails, and so does a copy of the table in the doc that is
# not the file's. First the check is run on planted includes that it must refuse.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$TK_ROOT" || exit 1
table=docs/layers.txt

# check_includes ROOT: the files named on standard input (paths under ROOT) against ROOT's table;
# prints a FAIL line per finding and fails if there is one.
check_includes() {
    awk -v root="$1" -v table="$table" '
        function read_line(line, folder, uses, used, n, i) {
            sub(/#.*/, "", line)
            if (line !~ /:/) return
            folder = line; sub(/:.*/, "", folder); gsub(/[ \t]/, "", folder)
            uses = line; sub(/^[^:]*:/, "", uses)
            known[folder] = 1
            allowed[folder] = ""
            n = split(uses, used, " ")
            for (i = 1; i <= n; i++) {
                may[folder, used[i]] = 1
                allowed[folder] = allowed[folder] " " used[i]
            }
        }
        BEGIN {
            path = root "/" table
            if ((getline line < path) < 0) {
                print "FAIL: no " table
                found = 1
                exit
            }
            read_line(line)
            while ((getline line < path) > 0) read_line(line)
            close(path)
        }
        {
            file = $0
            from = file; if (!sub(/\/[^\/]*$/, "", from)) from = "."
            if (!(from in known)) {
                print "FAIL: " file ": its folder " from " has no line in " table
                found = 1
            }
            while ((getline line < (root "/" file)) > 0) {
                if (line !~ /^[ \t]*#[ \t]*include[ \t]*"/) continue
                included = line; sub(/^[^"]*"/, "", included); sub(/".*/, "", included)
                to = included; if (!sub(/\/[^\/]*$/, "", to)) to = from
                if (to == from || !(from in known) || (from, to) in may) continue
                print "FAIL: " file " includes " included ": " from " may use" \
                    (allowed[from] == "" ? " nothing" : allowed[from]) " (" table ")"
                found = 1
            }
            close(root "/" file)
        }
        END { exit found }'
}

# The check itself, on the real table and three planted files, each with includes it may have and
# one it may not: core/picture including core/tape beside it, cli/common including the editor's
# app/, and a folder without a line.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/docs" "$work/core/picture" "$work/cli/common" "$work/newfolder"
cp "$table" "$work/docs/"
printf '#include "core/picture/rgbimage.h"\n#include "core/level/level.h"\n#include "core/tape/casblocks.h"\n' \
    >"$work/core/picture/planted.cpp"
printf '#include "options.h"\n  #  include "app/commands.h" // indented\n' >"$work/cli/common/planted.h"
printf '#include "core/level/level.h"\n' >"$work/newfolder/planted.cpp"
said=$(printf 'core/picture/planted.cpp\ncli/common/planted.h\nnewfolder/planted.cpp\n' |
    check_includes "$work")
if [ $? -eq 0 ] || [ "$(echo "$said" | wc -l)" -ne 3 ] ||
    ! echo "$said" | grep -qF "FAIL: core/picture/planted.cpp includes core/tape/casblocks.h:" ||
    ! echo "$said" | grep -qF "FAIL: cli/common/planted.h includes app/commands.h:" ||
    ! echo "$said" | grep -qF "FAIL: newfolder/planted.cpp: its folder newfolder has no line"; then
    echo "FAIL: on three planted wrong includes the layer check said:"
    echo "$said" | sed 's/^/    /'
    exit 1
fi
echo "ok:   the layer check refuses planted includes sideways, upward and from a folder without a line"

status=0
git ls-files '*.cpp' '*.h' '*.rc' '*.in' | check_includes . || status=1
# The doc's copy: the fenced block that opens with "```text docs/layers.txt".
awk -v fence="\`\`\`text $table" '
    $0 == fence { inside = 1; next }
    inside && /^```/ { exit }
    inside' docs/architecture.md >"$work/doc-table.txt"
cmp -s "$work/doc-table.txt" "$table" || {
    echo "FAIL: docs/architecture.md does not show $table as it is (copy the file into its block)"
    status=1
}
[ $status -eq 0 ] && echo "ok:   every include uses only what docs/layers.txt allows, and the map shows that table"

# The browser edition's TypeScript reaches the WebAssembly module only through web/src/core/: no
# other file names the module (the alias tomkrin-wasm, or emscripten's output tomkrin-core.*).
# Planted first: a module beside the core that imports it must be found.
reaches_module() {
    grep -lE "(from|import)[[:space:]]*\(?[[:space:]]*[\"'][^\"']*(tomkrin-wasm|tomkrin-core\.(js|wasm))" "$@" 2>/dev/null
}
mkdir -p "$work/web/src"
printf 'import createTomkrinCore from "tomkrin-wasm/tomkrin-core.js";\n' >"$work/web/src/planted.ts"
printf 'import { loadCore } from "./core/index";\n' >"$work/web/src/fine.ts"
if [ "$(reaches_module "$work/web/src/planted.ts" "$work/web/src/fine.ts")" != "$work/web/src/planted.ts" ]; then
    echo "FAIL: the check of the page's imports does not find a planted import of the module"
    exit 1
fi
outside=$(git ls-files 'web/*.ts' 'web/*.js' 'web/*.html' | grep -v '^web/src/core/' | grep -v '^web/vite\.config\.ts$' |
    while read -r file; do reaches_module "$file"; done)
if [ -n "$outside" ]; then
    echo "FAIL: these files of the page reach the WebAssembly module past web/src/core/:" $outside
    status=1
else
    echo "ok:   the page's TypeScript reaches the WebAssembly module only through web/src/core/"
fi
exit $status
