#!/bin/sh
# Builds the benchmarks, runs every one of them and rewrites docs/performance.md with their figures,
# the date and the machine they came from. The figures are for reading: nothing here fails because
# a figure is slow.
#   scripts/bench.sh
# The native benchmarks run from build/bench-native (Release, no sanitizers); the Windows ones run
# under Wine from the Windows tree this machine can run (TK_BENCH_WINDOWS_TREE names another preset
# for it, such as one of CMakeUserPresets.json, whose tree is build/<name>), in a Wine prefix of
# their own, under an Xvfb of their own when there is no display. The raw output of each benchmark
# is kept in build/bench-results/.
set -e
. "$(dirname "$0")/setup.sh"
tk_setup test
load_at_start=$(cut -d' ' -f1-3 /proc/loadavg)
results="$TK_ROOT/build/bench-results"
rm -rf "$results"
mkdir -p "$results"

echo "== Building build/bench-native (host, Release, no sanitizers)"
tk_configure_build bench-native level_bench linetool_bench cas2wav_bench tomkrin_bench

tree=${TK_BENCH_WINDOWS_TREE:-$(tk_runnable_windows_tree)}
echo "== Building build/$tree (MinGW, Release)"
tk_configure_build "$tree" TomkrinEditor redraw_bench startup_bench
windows="$TK_ROOT/build/$tree"

native="$TK_ROOT/build/bench-native"
echo "== Level decode and encode"
"$native/level_bench" | tee "$results/level.txt"
echo "== Line tool over all pairs of cells"
"$native/linetool_bench" | tee "$results/linetool.txt"
echo "== cas2wav against a plain copy"
"$native/cas2wav_bench" "$results" | tee "$results/cas2wav.txt"
echo "== tomkrin commands on the 64 KB demonstration tape"
"$native/tomkrin_bench" "$results" | tee "$results/tomkrin.txt"

# A prefix of their own: no other program's windows to find, no other program on its server.
tk_wine_env "$windows/bench-wineprefix" "$windows/redraw_bench.exe"
tk_start_xvfb
stop() {
    WINEPREFIX="$windows/bench-wineprefix" wineserver -k 2>/dev/null || true
    tk_stop_xvfb
}
trap stop EXIT INT TERM
cd "$windows"
echo "== Redraw of a whole level under Wine"
"$TK_WINE" ./redraw_bench.exe 200 2>"$results/redraw.err" | tee "$results/redraw.txt"
echo "== Start-up to a visible window under Wine"
"$TK_WINE" ./startup_bench.exe 9 2>"$results/startup.err" | tee "$results/startup.txt"
for name in redraw startup; do
    grep -q ': [0-9.]* ' "$results/$name.txt" || { cat "$results/$name.err"; exit 1; }
done

# Lines "what: value unit" become table rows.
rows() { # benchmark file
    tr -d '\r' <"$2" | awk -v bench="$1" '
        /^[^:]+: [0-9.]+ / {
            split($0, parts, ": ")
            value = parts[2]; sub(/ .*/, "", value)
            unit = parts[2]; sub(/^[^ ]+ /, "", unit)
            printf "| %s | %s | %s | %s |\n", bench, parts[1], value, unit
        }'
}
cas2wav_rows() {
    awk '/ baud:/ { baud = $1 }
         / convert / {
            printf "| cas2wav | convert 64 KB tape image, %s baud | %s | ms |\n", baud, $2
            printf "| cas2wav | copy a file as large as its .wav | %s | ms |\n", $5
            printf "| cas2wav | convert / copy | %s | times |\n", $NF
         }' "$1"
}
compiler() { # tree
    cxx=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' \
        "$TK_ROOT"/build/"$1"/CMakeFiles/*/CMakeCXXCompiler.cmake | head -1)
    "$cxx" --version | head -1
}

doc="$TK_ROOT/docs/performance.md"
# Sections that other benchmark scripts write (scripts/bench-web.sh, scripts/bench-wav2cas.sh), and
# the level links' lengths measured by hand, are kept as they are.
kept=$(awk '/^## / { keep = ($0 ~ /^## (The browser edition|Level links|wav2cas)/) } keep' "$doc" 2>/dev/null || true)
{
    echo "# Performance"
    echo
    echo "Written by \`scripts/bench.sh\`, which builds and runs every benchmark and rewrites this file."
    echo "The figures describe one run on one machine; they are not pass marks."
    echo
    echo "Measured on $(date -u '+%Y-%m-%d %H:%M UTC')."
    echo
    echo "## Machine"
    echo
    echo "| | |"
    echo "|---|---|"
    echo "| CPU | $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1) |"
    echo "| Cores | $(grep -c '^processor' /proc/cpuinfo) |"
    echo "| Memory | $(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) |"
    echo "| Kernel | $(uname -sr) |"
    echo "| Wine | $("$TK_WINE" --version) ($(basename "$TK_WINE"), Xvfb display) |"
    echo "| Native compiler | $(compiler bench-native) (Release, no sanitizers) |"
    echo "| Windows compiler | $(compiler "$tree") (Release, build/$tree) |"
    echo "| Load average when the run started | $load_at_start |"
    echo
    echo "## Figures"
    echo
    echo "| Benchmark | Figure | Value | Unit |"
    echo "|---|---|---|---|"
    rows level_bench "$results/level.txt"
    rows linetool_bench "$results/linetool.txt"
    rows redraw_bench "$results/redraw.txt"
    rows startup_bench "$results/startup.txt"
    cas2wav_rows "$results/cas2wav.txt"
    rows tomkrin_bench "$results/tomkrin.txt"
    echo
    echo "## What each benchmark measures"
    echo
    echo "- \`level_bench\` (native): decodeLevel and encodeLevel on one 493-byte level file, the median"
    echo "  of 7 rounds of a million levels; MB/s counts the 493 file bytes per level."
    echo "- \`linetool_bench\` (native): lineCells for every ordered pair of the 24 x 18 cells"
    echo "  (186,624 lines per sweep), the median of 15 sweeps."
    echo "- \`redraw_bench\` (Wine): disegnalivello(&l) in the editor's real main window, started with"
    echo "  StartEditor inside the benchmark, timed from entry to return with QueryPerformanceCounter"
    echo "  over 200 redraws. The level holds the 45 block codes in turn in its 432 cells. For"
    echo "  comparison in the same run: a level of codes no block has (the comparisons alone, nothing"
    echo "  drawn), and the same 432 cells drawn one by one by the image list into a memory bitmap"
    echo "  (the redraw itself copies each cell from a strip of the block images made once)."
    echo "- \`startup_bench\` (Wine): CreateProcess of TomkrinEditor.exe from its folder until a visible"
    echo "  window of class TomkrinEditorWndClass belongs to it (FindWindowEx and IsWindowVisible,"
    echo "  polled every millisecond); each start is closed with WM_CLOSE and awaited. One warm-up"
    echo "  start, then the median of 9, with Wine's server already running."
    echo "- \`cas2wav_bench\` (native): the converter on a 64 KB tape image, best of 5, as a ratio to"
    echo "  copying a file as large as the .wav it writes, in the same run and on the same disk."
    echo "- \`tomkrin_bench\` (native): tomkrin's commands run in-process (runTomkrin, output into"
    echo "  memory, files in a temporary folder) on the 64 KB demonstration tape of tools/demotape.h:"
    echo "  the median of 11 to 51 runs after a warm-up; the sheet is then split into drawing and"
    echo "  PNG compression (stb_image_write, its default level 8). The targets: info, extract of all 20"
    echo "  levels and check each well under 10 ms, the sheet under 200 ms. Export (a level to a Tiled"
    echo "  map, its tileset files beside it already there and compared) and import (a map back to a"
    echo "  level file, its .tsx tileset read) each well under 20 ms."
    if [ -n "$kept" ]; then
        echo
        echo "$kept"
    fi
} >"$doc"
echo "== Wrote $doc"
