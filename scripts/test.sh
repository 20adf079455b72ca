#!/bin/sh
# The test command: installs what is missing, configures and builds every tree through its preset
# (CMakePresets.json), then runs every check through ctest's test preset `all`: the native tree's
# tests with the other trees' tests joined to them (cmake/othertrees.cmake). Each check is a
# ctest test with a label, defined in CMake beside what it tests; `ctest --preset NAME` runs a
# part (native, sources, win32, win64, web, fuzz, tiled, packages). Ends with ctest's summary, the
# reasons of the checks skipped on this machine, and ALL TESTS PASSED or SOME TESTS FAILED.
set -e
. "$(dirname "$0")/setup.sh"
tk_setup test
start=$(date +%s)

# build TREE: builds one tree through its preset (the release tree only what the browser tests
# hold the page to, the web tree with its page).
build() {
    case $1 in
    web) tk_build_web ;;
    release) tk_configure_build release tomkrin cas2wav wav2cas mkdemotape replayedits ;;
    *) tk_configure_build "$1" ;;
    esac
}
# pair A B: builds two trees side by side, saying how long they took: the one's single-threaded
# steps (configuring, linking, npm, Vite) use the cores the other leaves idle.
pair() {
    began=$(date +%s)
    build "$1" &
    first=$!
    build "$2" &
    second=$!
    failed=""
    wait $first || failed="$failed $1"
    wait $second || failed="$failed $2"
    [ -z "$failed" ] || { echo "== The build of$failed failed"; exit 1; }
    echo "   $1 and $2 built in $(($(date +%s) - began)) s"
}
echo "== Building the trees two at a time: native (host, sanitizers) and web (the browser edition),"
echo "   win32 and win64 (MinGW), release and fuzz"
pair native web
pair win32 win64
pair release fuzz
[ "$(tk_runnable_windows_tree)" = win32 ] ||
    echo "== $(tk_why_not_win32): the Windows programs are tested as the 64-bit build (build/win64)"
built=$(date +%s)

echo "== Running every check (ctest --preset all)"
status=0
(cd "$TK_ROOT" && ctest --preset all) || status=1
# What the checks skipped on this machine, and why (their "skip:" lines).
log="$TK_ROOT/build/native/Testing/Temporary/LastTest.log"
[ ! -f "$log" ] || grep -h '^skip: ' "$log" | sort -u | sed 's/^/   /'
echo "== Built in $((built - start)) s, checked in $(($(date +%s) - built)) s after the installation check"
if [ $status -eq 0 ]; then echo "ALL TESTS PASSED"; else echo "SOME TESTS FAILED"; fi
exit $status
