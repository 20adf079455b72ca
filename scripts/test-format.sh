#!/bin/sh
# Every C++ file keeps the project's layout (.clang-format). One clang-format for all the files;
# each file it would change is named.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$TK_ROOT" || exit 1
# shellcheck disable=SC2046
unformatted=$(git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u | tr '\n' ' ')
if [ -n "$unformatted" ]; then
    echo "FAIL: not formatted (run clang-format -i): $unformatted"
    exit 1
fi
echo "ok:   every C++ file is formatted"
