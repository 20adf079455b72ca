#!/bin/sh
# The release zip: its contents, the DLLs its programs need, and that the unzipped editor starts,
# shows its window and closes with exit code 0, and that the unzipped converter works.
# Usage: test-package.sh [windows tree]   (default: the one this machine runs, win32 or win64)
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/wine-env.sh"
. "$TK_ROOT/scripts/checks.sh"
. "$TK_ROOT/scripts/build.sh"
. "$TK_ROOT/scripts/xvfb.sh"
tree=${1:-$(tk_runnable_windows_tree)}

# The zip carries the browser edition's single file, which the web tree builds.
tk_build_web || { echo "package: the browser edition did not build"; exit 1; }
(cd "$TK_ROOT" && cmake --build --preset "$tree" --target package) >"$TK_ROOT/build/$tree.package.log" 2>&1 ||
    { cat "$TK_ROOT/build/$tree.package.log"; exit 1; }
zip=$(ls "$TK_ROOT/build/$tree"/TomkrinEditor-*-win*.zip)

for file in TomkrinEditor.exe cas2wav.exe tomkrin.exe wav2cas.exe default.bin TOMKRIN.RTF README.txt LICENSE.txt \
    tomkrin-web.html; do
    if unzip -l "$zip" | grep -q "/$file\$"; then pass "zip holds $file"; else fail "zip lacks $file"; fi
done

# Only DLLs that every Windows has.
allowed="kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll advapi32.dll msvcrt.dll"
for exe in "$TK_ROOT"/build/win32/*.exe "$TK_ROOT"/build/win64/TomkrinEditor.exe "$TK_ROOT"/build/win64/cas2wav.exe \
    "$TK_ROOT"/build/win64/tomkrin.exe "$TK_ROOT"/build/win64/wav2cas.exe; do
    case $(basename "$exe") in TomkrinEditor.exe | cas2wav.exe | tomkrin.exe | wav2cas.exe) ;; *) continue ;; esac
    [ -f "$exe" ] || continue
    dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z')
    [ -n "$dlls" ] || fail "no import table read from $exe"
    for dll in $dlls; do
        case " $allowed " in
        *" $dll "*) ;;
        *) fail "$exe imports $dll" ;;
        esac
    done
    pass "$(basename "$(dirname "$exe")")/$(basename "$exe") imports only system DLLs"
done

work=$(mktemp -d)
# The tree's prefix: on the display of the tree's test fixture while it holds the prefix's Wine
# server (cmake/wine-fixture.sh), which then stays for the tree's other tests; else on a display and
# a server of this run's own.
held=""
if [ -z "${DISPLAY:-}" ] && [ -s "$TK_ROOT/build/$tree/display" ]; then
    DISPLAY=$(cat "$TK_ROOT/build/$tree/display")
    export DISPLAY
    held=yes
fi
tk_start_xvfb
trap 'rm -rf "$work"; tk_stop_xvfb' EXIT
unzip -q "$zip" -d "$work"
folder=$(ls -d "$work"/TomkrinEditor-*)
cmp -s "$folder/tomkrin-web.html" "$TK_ROOT/build/web/tomkrin-web.html" &&
    pass "the zip's tomkrin-web.html is the browser edition's single file" ||
    fail "the zip's tomkrin-web.html differs from build/web/tomkrin-web.html"
tk_wine_env "$TK_ROOT/build/$tree/wineprefix" "$folder/TomkrinEditor.exe"

cd "$folder"
"$TK_WINE" TomkrinEditor.exe &
editor=$!
window=""
for _ in $(seq 1 60); do
    window=$(xdotool search --name '^TomkrinEditor$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    sleep 1
done
if [ -n "$window" ]; then
    pass "the unzipped editor shows its window"
    sleep 1
    xdotool windowfocus --sync "$window" key ctrl+x 2>/dev/null || true
    for _ in $(seq 1 30); do kill -0 $editor 2>/dev/null || break; sleep 1; done
    if kill -0 $editor 2>/dev/null; then
        fail "Ctrl+X did not close the editor"
        kill $editor 2>/dev/null || true
    else
        wait $editor && pass "Ctrl+X closes the editor with exit code 0" ||
            fail "the editor ended with exit code $?"
    fi
else
    fail "no TomkrinEditor window appeared"
    kill $editor 2>/dev/null || true
fi

# A tape image of one binary file: header block, then data block.
marker='\037\246\336\272\314\023\175\164'
printf "${marker}\320\320\320\320\320\320\320\320\320\320LEVEL ${marker}\000\312\276\313\000\000ABCDEFGH" >tape.cas
if "$TK_WINE" cas2wav.exe tape.cas tape.cas.wav -2 && [ "$(head -c 4 tape.cas.wav)" = RIFF ]; then
    pass "the unzipped cas2wav.exe converts a tape image"
else
    fail "the unzipped cas2wav.exe did not convert a tape image"
fi
if "$TK_WINE" tomkrin.exe info tape.cas | grep -q 'binary  "LEVEL"'; then
    pass "the unzipped tomkrin.exe lists a tape image"
else
    fail "the unzipped tomkrin.exe did not list a tape image"
fi
cd "$TK_ROOT"
[ -n "$held" ] || wineserver -k 2>/dev/null || true

echo "package: $failures failed"
[ $failures -eq 0 ]
