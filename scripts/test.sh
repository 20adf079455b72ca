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
# cpu_seconds VAR: sets VAR to the processor time (user and system) of every program this script
# has run and waited for, in seconds. On a machine shared with other work it tells what a step
# cost where the clock does not. `times` runs in this shell: in a subshell, as in $(...), it would
# count nothing.
cpu_seconds() {
    times >"$TK_ROOT/build/test.times"
    eval "$1=$(awk 'NR == 2 {
        s = 0
        for (i = 1; i <= 2; i++) { split($i, t, "m"); s += t[1] * 60 + t[2] }
        printf "%d", s
    }' "$TK_ROOT/build/test.times")"
}
# stage WHAT COMMAND...: runs a step, saying how long it took on the clock and in processor time.
stage() {
    what=$1
    shift
    began=$(date +%s)
    cpu_seconds began_cpu
    "$@"
    cpu_seconds ended_cpu
    echo "   $what in $(($(date +%s) - began)) s ($((ended_cpu - began_cpu)) s of processor time)"
}

mkdir -p "$TK_ROOT/build"
start=$(date +%s)
cpu_seconds start_cpu
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
cpu_seconds built_cpu

echo "== Running every check (ctest --preset all)"
status=0
(cd "$TK_ROOT" && ctest --preset all) || status=1
cpu_seconds checked_cpu
# What the checks skipped on this machine, and why (their "skip:" lines).
log="$TK_ROOT/build/native/Testing/Temporary/LastTest.log"
[ ! -f "$log" ] || grep -h '^skip: ' "$log" | sort -u | sed 's/^/   /'
echo "== Built in $((built - start)) s, checked in $(($(date +%s) - built)) s after the installation check" \
    "($((built_cpu - start_cpu)) s and $((checked_cpu - built_cpu)) s of processor time)"
if [ $status -eq 0 ]; then echo "ALL TESTS PASSED"; else echo "SOME TESTS FAILED"; fi
exit $status
