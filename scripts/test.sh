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

# stage WHAT COMMAND...: runs a step, saying how long it took.
stage() {
    what=$1
    shift
    began=$(date +%s)
    "$@"
    echo "   $what in $(($(date +%s) - began)) s"
}
echo "== Building the trees: native (host, sanitizers), win32 and win64 (MinGW), release, web, fuzz"
stage "native built" tk_configure_build native
if tk_runs_win32; then
    stage "win32 built" tk_configure_build win32
else
    # Its tests would be skipped here: the programs alone, which the packages' checks take.
    stage "win32 built (the programs: its tests cannot run here)" \
        tk_configure_build win32 TomkrinEditor cas2wav tomkrin wav2cas
fi
stage "win64 built" tk_configure_build win64
stage "release built" tk_configure_build release tomkrin cas2wav wav2cas mkdemotape replayedits
stage "web built" tk_build_web
stage "fuzz built" tk_configure_build fuzz
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
