#!/bin/sh
# Builds the fuzz targets in build/fuzz with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time. Exits non-zero on any finding.
#   fuzz/level_decoder_fuzz.cpp  the level file decoder and saver
#   fuzz/tape_reader_fuzz.cpp    cas2wav's reading of a tape image and its recording
#   fuzz/tape_directory_fuzz.cpp tomkrin's tape directory, file judgement, level slots and checks
#   fuzz/wav_reader_fuzz.cpp     wav2cas's reading of a .wav file, and its decoder on the samples
#   fuzz/flac_reader_fuzz.cpp    its reading of a recording as a stream, a FLAC file above all
#   fuzz/map_reader_fuzz.cpp     the Tiled map readers, TMX and JSON, and their tilesets
# The committed seeds in fuzz/corpus/ are copied into build/fuzz/corpus-*, which the fuzzers grow;
# crash files land in build/fuzz/ as well. FUZZ_SECONDS overrides the 15 s per target.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/build.sh"
out="$TK_ROOT/build/fuzz"
seconds=${FUZZ_SECONDS:-15}

command -v clang++ >/dev/null 2>&1 ||
    { echo "test-fuzz: clang++ not found (scripts/deps.sh installs clang)"; exit 1; }

# The fuzz targets are CMake targets of a clang tree of their own, the preset fuzz (the core's
# folders say which of their code gets coverage guidance); this script builds and runs them.
tk_configure_build fuzz || { echo "test-fuzz: building the fuzz targets failed"; exit 1; }

# Each target runs on a core of its own, two at a time; what each says is printed in order.
run() { # target corpus max-len
    target=$1 corpus=$2 maxlen=$3
    work="$out/corpus-$corpus"
    mkdir -p "$work"
    cp "$TK_ROOT/fuzz/corpus/$corpus/"* "$work/"
    log="$out/$target.log"
    # A small quarantine still catches a use after free within one run, and keeps the encoder's
    # large buffers from costing fresh pages on every run.
    if (cd "$out" && ASAN_OPTIONS="quarantine_size_mb=16:${ASAN_OPTIONS:-}" "./$target" \
        -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$out/$target-" "$work") >"$log" 2>&1; then
        units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$target: no finding in ${seconds} s, ${units:-?} executions"
    else
        tail -n 40 "$log"
        echo "test-fuzz: $target found a fault (log: $log)"
        return 1
    fi
}
status=0
pair() { # target corpus max-len target corpus max-len
    run "$1" "$2" "$3" >"$out/$1.said" 2>&1 &
    first=$!
    run "$4" "$5" "$6" >"$out/$4.said" 2>&1 &
    second=$!
    wait "$first" || status=1
    cat "$out/$1.said"
    wait "$second" || status=1
    cat "$out/$4.said"
}

# A level file is read only up to its 493rd byte, so a little beyond that is enough; tape images
# of a few kilobytes hold hundreds of blocks; an exported map is 5 to 12 KB, and the seeds are
# smaller maps of the same shape.
pair level_decoder_fuzz level 1024 map_reader_fuzz map 16384
pair tape_reader_fuzz tape 4096 tape_directory_fuzz tapedir 4096
pair wav_reader_fuzz wav 4096 flac_reader_fuzz flac 4096
exit $status
