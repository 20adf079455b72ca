#!/bin/sh
# The Debian packages: builds them (scripts/make-deb.sh) and checks them with lintian (no error,
# no warning). tomkrin-tools: its files, man pages and dependencies, both converters run from a
# temporary root it is unpacked into, and the browser edition's page with its desktop entry.
# tomkrin-editor: its files, desktop entry and dependencies, that apt pulls in Wine with its 32-bit
# part, and that its tomkrin-editor command, unpacked, shows the editor's main window under Wine
# with a home of its own (a fresh prefix), twice.
#   test-deb.sh [VERSION]   VERSION: the project's (major.minor), which the packages must carry
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
version=${1:-$(sed -n 's/^project(TomkrinEditor VERSION \([0-9]*\.[0-9]*\)\..*/\1/p' "$TK_ROOT/CMakeLists.txt")}
expected=$version
. "$TK_ROOT/scripts/wine-env.sh"
. "$TK_ROOT/scripts/xvfb.sh"
. "$TK_ROOT/scripts/checks.sh"

debs=$(sh "$TK_ROOT/scripts/make-deb.sh") || { echo "$debs"; exit 1; }
deb=$(echo "$debs" | grep '/tomkrin-tools_')
editor_deb=$(echo "$debs" | grep '/tomkrin-editor_')
for package in $debs; do
    if report=$(lintian --fail-on error,warning "$package" 2>&1); then
        pass "lintian finds no error or warning in $(basename "$package")"
    else
        fail "lintian on $(basename "$package"): $report"
    fi
done

contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/tomkrin ./usr/bin/cas2wav ./usr/bin/wav2cas ./usr/share/man/man1/tomkrin.1.gz \
    ./usr/share/man/man1/cas2wav.1.gz ./usr/share/man/man1/wav2cas.1.gz \
    ./usr/share/doc/tomkrin-tools/copyright ./usr/share/doc/tomkrin-tools/changelog.gz \
    ./usr/share/tomkrin/tomkrin-web.html ./usr/share/applications/tomkrin-web.desktop \
    ./usr/bin/tomkrin-web ./usr/share/man/man1/tomkrin-web.1.gz; do
    if echo "$contents" | grep -q " $file\$"; then pass "the package holds $file"; else fail "the package lacks $file"; fi
done
info=$(dpkg-deb -I "$deb")
echo "$info" | grep -q '^ Package: tomkrin-tools$' && pass "the package is tomkrin-tools" ||
    fail "package name: $(echo "$info" | grep Package)"
echo "$info" | grep -qx " Version: $expected" && pass "version $expected" || fail "version: $(echo "$info" | grep Version)"
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
# The libraries of the tools, and xdg-open for the browser edition's desktop entry.
missing=""
for needed in libc6 'libstdc++6' xdg-utils; do
    case $depends in *"$needed"*) ;; *) missing="$missing $needed" ;; esac
done
[ -z "$missing" ] && pass "depends on $depends" || fail "dependencies: $depends (without$missing)"

root=$(mktemp -d)
editor="" prefix=""
# Under set -e a failing command here would become the script's exit status.
cleanup() {
    if [ -n "$editor" ]; then kill "$editor" 2>/dev/null || true; fi
    if [ -n "$prefix" ]; then WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; fi
    rm -rf "$root"
    tk_stop_xvfb
}
trap cleanup EXIT
trap 'exit 1' INT TERM
dpkg -x "$deb" "$root"
gzip -t "$root"/usr/share/man/man1/*.1.gz &&
    pass "the man pages are gzip files" || fail "a man page is not a gzip file"
version=$("$root/usr/bin/tomkrin" --version) || true
[ "$version" = "tomkrin $expected" ] && pass "the unpacked tomkrin says $version" || fail "tomkrin --version said: $version"
# Without arguments cas2wav explains its usage with exit status 2.
status=0
"$root/usr/bin/cas2wav" 2>"$root/usage.txt" || status=$?
[ $status = 2 ] && grep -q 'usage: cas2wav' "$root/usage.txt" && pass "the unpacked cas2wav runs" ||
    fail "cas2wav exited $status: $(cat "$root/usage.txt")"

# The browser edition: the single file as built, a desktop entry that runs tomkrin-web, and
# tomkrin-web handing the page to the desktop's opener (a stand-in for xdg-open that notes it).
cmp -s "$root/usr/share/tomkrin/tomkrin-web.html" "$TK_ROOT/build/web/tomkrin-web.html" &&
    pass "the package's tomkrin-web.html is the browser edition's single file" ||
    fail "the package's tomkrin-web.html differs from build/web/tomkrin-web.html"
entry="$root/usr/share/applications/tomkrin-web.desktop"
report=$(desktop-file-validate "$entry" 2>&1) && grep -qx 'Name=Tomkrin Editor (browser)' "$entry" &&
    grep -qx 'Exec=tomkrin-web' "$entry" &&
    pass "the desktop entry \"Tomkrin Editor (browser)\" is valid and runs tomkrin-web" ||
    fail "the browser edition's desktop entry: $report"
version=$("$root/usr/bin/tomkrin-web" --version) || true
[ "$version" = "tomkrin-web $expected" ] && pass "the unpacked tomkrin-web says $version" ||
    fail "tomkrin-web --version said: $version"
mkdir "$root/opener"
printf '#!/bin/sh\necho "$@" >"%s/opened.txt"\n' "$root" >"$root/opener/xdg-open"
chmod +x "$root/opener/xdg-open"
PATH="$root/opener:$PATH" "$root/usr/bin/tomkrin-web" &&
    [ "$(cat "$root/opened.txt" 2>/dev/null)" = "$(readlink -f "$root/usr/share/tomkrin/tomkrin-web.html")" ] &&
    pass "the unpacked tomkrin-web opens its page with xdg-open" ||
    fail "tomkrin-web asked xdg-open for: $(cat "$root/opened.txt" 2>/dev/null)"

# A round trip through the unpacked converters: the decoder gives back the encoder's tape.
printf '\037\246\336\272\314\023\175\164\320\320\320\320\320\320\320\320\320\320TOMKRN' >"$root/t.cas"
# The data block: load 0xC000, end 0xC001, exec 0xC000, then the two bytes its header announces.
printf '\037\246\336\272\314\023\175\164\000\300\001\300\000\300\001\002' >>"$root/t.cas"
"$root/usr/bin/cas2wav" "$root/t.cas" "$root/t.wav" &&
    "$root/usr/bin/wav2cas" -q "$root/t.wav" "$root/back.cas" && cmp -s "$root/t.cas" "$root/back.cas" &&
    pass "the unpacked cas2wav and wav2cas give the tape image back" ||
    fail "the round trip through the unpacked cas2wav and wav2cas"

# --- The editor's package -----------------------------------------------------------------------
contents=$(dpkg-deb -c "$editor_deb")
for file in ./usr/bin/tomkrin-editor ./usr/share/tomkrin-editor/TomkrinEditor.exe \
    ./usr/share/tomkrin-editor/cas2wav.exe ./usr/share/tomkrin-editor/default.bin \
    ./usr/share/tomkrin-editor/TOMKRIN.RTF ./usr/share/applications/tomkrin-editor.desktop \
    ./usr/share/icons/hicolor/32x32/apps/tomkrin-editor.png ./usr/share/man/man1/tomkrin-editor.1.gz \
    ./usr/share/doc/tomkrin-editor/copyright ./usr/share/doc/tomkrin-editor/changelog.gz; do
    echo "$contents" | grep -q " $file\$" || fail "the editor's package lacks $file"
done
info=$(dpkg-deb -I "$editor_deb")
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
echo "$info" | grep -q '^ Architecture: all$' && [ "$depends" = "wine, wine32" ] &&
    pass "the editor's package holds its files, is for all architectures and depends on $depends" ||
    fail "the editor's package: $(echo "$info" | grep -E 'Architecture|Depends')"
dpkg -x "$editor_deb" "$root"
report=$(desktop-file-validate "$root/usr/share/applications/tomkrin-editor.desktop" 2>&1) &&
    grep -qx 'Icon=tomkrin-editor' "$root/usr/share/applications/tomkrin-editor.desktop" &&
    [ "$(identify -format %wx%h "$root/usr/share/icons/hicolor/32x32/apps/tomkrin-editor.png")" = 32x32 ] &&
    pass "the desktop entry is valid and names the icon" || fail "the desktop entry or its icon: $report"

# On a PC without Wine (the machine's own package list without it), apt takes the 32-bit part of
# Wine from the i386 packages: wine32 declares itself usable by packages of any architecture. When
# the archives cannot give wine32 itself on such a PC (its own dependencies missing, as from a
# mirror in the middle of a sync), that is no fault of the package: the check is skipped, saying why.
if [ "$(dpkg --print-architecture)" != amd64 ] || ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "skip: apt install of the editor's package: this machine has no i386 packages to take wine32 from"
else
    awk -v RS= -v ORS='\n\n' '!/^Package: (wine|wine32|wine64|libwine|fonts-wine)\n/' \
        /var/lib/dpkg/status >"$root/status"
    simulate() { apt-get -s -o Dir::State::status="$root/status" install "$@" 2>&1; }
    plan=$(simulate "$editor_deb") || true
    if echo "$plan" | grep -q '^Inst wine32:i386 ' && echo "$plan" | grep -q '^Inst wine ' &&
        echo "$plan" | grep -q '^Inst tomkrin-editor '; then
        pass "apt install of the editor's package brings wine and wine32:i386"
    elif ! wine32=$(simulate wine32:i386); then
        echo "skip: apt install of the editor's package: the archives cannot give wine32:i386 itself here" \
            "($(echo "$wine32" | grep -E '^ [^ ].*: (Depends|PreDepends)|^E: ' | head -1 | sed 's/^ *//'))"
    else
        fail "apt install of the editor's package on a machine without Wine: $(echo "$plan" | grep -E '^(E|W):|Inst')"
    fi
fi

version=$("$root/usr/bin/tomkrin-editor" --version) || true
[ "$version" = "tomkrin-editor $expected" ] && pass "the unpacked tomkrin-editor says $version" ||
    fail "tomkrin-editor --version said: $version"

# start_editor RUN: starts the unpacked command with the test's own home; sets window to the
# editor's main window once it shows (empty if it never does) and seconds to the time it took.
start_editor() {
    begin=$(date +%s.%N)
    HOME="$root/home" "$root/usr/bin/tomkrin-editor" >"$root/$1.out" 2>&1 &
    editor=$!
    window=""
    for _ in $(seq 1 600); do
        window=$(xdotool search --all --pid "$editor" --name '^TomkrinEditor$' 2>/dev/null | head -1)
        [ -n "$window" ] && break
        kill -0 "$editor" 2>/dev/null || break
        sleep 0.1
    done
    seconds=$(awk -v a="$begin" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }')
}
# close_editor RUN: Ctrl+X in the main window; the command ends with the editor's exit code 0.
close_editor() {
    xdotool windowfocus --sync "$window" key ctrl+x 2>/dev/null || true
    for _ in $(seq 1 30); do kill -0 "$editor" 2>/dev/null || break; sleep 1; done
    if kill -0 "$editor" 2>/dev/null; then
        fail "$1 start: Ctrl+X did not close the editor"
    elif wait "$editor"; then
        pass "$1 start: Ctrl+X closes the editor, and the command ends with exit code 0"
    else
        fail "$1 start: the command ended with exit code $?: $(cat "$root/$1.out")"
    fi
    editor=""
    # The next start must find the prefix as a user's next start finds it, its Wine gone.
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w 2>/dev/null || true
}

if tk_runs_win32; then
    tk_start_xvfb
    unset XDG_DATA_HOME WINEPREFIX WINEARCH WINELOADER
    mkdir "$root/home"
    prefix="$root/home/.local/share/tomkrin-editor/wine"
    for run in first second; do
        start_editor $run
        if [ -z "$window" ]; then
            fail "$run start: no editor window appeared in $seconds s: $(cat "$root/$run.out")"
            break
        fi
        pass "$run start: the editor's main window shows after $seconds s"
        case $run in
        first) grep -q 'the first start takes a while' "$root/$run.out" &&
            pass "first start: the terminal says that the first start takes a while" ||
            fail "first start: no word of it on the terminal: $(cat "$root/$run.out")" ;;
        second)
            [ ! -s "$root/$run.out" ] && pass "second start: not a word on the terminal" ||
                fail "second start printed: $(cat "$root/$run.out")"
            # File > New draws default.bin, a level walled in red bricks; without the file the
            # canvas stays white and black.
            sleep 1
            xdotool windowfocus --sync "$window" key ctrl+n 2>/dev/null || true
            sleep 1
            import -window "$window" "$root/new.png"
            red=$(convert "$root/new.png" -format '%[fx:mean.r-mean.b > 0.02]' info:)
            [ "$red" = 1 ] && pass "second start: File > New draws default.bin from the level folder" ||
                fail "second start: File > New drew no bricks: default.bin was not found"
            ;;
        esac
        close_editor $run
    done
    for file in default.bin TOMKRIN.RTF; do
        cmp -s "$root/home/Tomkrin/$file" "$root/usr/share/tomkrin-editor/$file" ||
            fail "the level folder ~/Tomkrin has no $file"
    done
    [ -f "$prefix/system.reg" ] && [ ! -e "$root/home/.wine" ] && [ ! -e "$root/home/.local/share/applications" ] &&
        pass "the prefix is the editor's own, and Wine added nothing to the desktop's menus" ||
        fail "the prefix: $(cd "$root/home" && find . -maxdepth 4 -type d | head -20)"
else
    echo "skip: the editor's starts under Wine: $(tk_why_not_win32)"
fi

echo "deb: $failures failed"
[ $failures -eq 0 ]
