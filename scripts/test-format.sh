#!/bin/sh
# Every C++ file keeps the project's layout (.clang-format).
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$TK_ROOT" || exit 1
unformatted=""
for file in $(git ls-files '*.cpp' '*.h'); do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted="$unformatted $file"
done
if [ -n "$unformatted" ]; then
    echo "FAIL: not formatted (run clang-format -i):$unformatted"
    exit 1
fi
echo "ok:   every C++ file is formatted"
