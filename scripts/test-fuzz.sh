#!/bin/sh
# Builds the fuzz targets in build/fuzz with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time. Exits non-zero on any finding.
#   fuzz/level_decoder_fuzz.cpp  the level file decoder and saver
#   fuzz/tape_reader_fuzz.cpp    cas2wav's reading of a tape image and its recording
#   fuzz/tape_directory_fuzz.cpp tomkrin's tape directory, file judgement, level slots and checks
#   fuzz/wav_reader_fuzz.cpp     wav2cas's reading of a .wav file, and its decoder on the samples
# The committed seeds in fuzz/corpus/ are copied into build/fuzz/corpus-*, which the fuzzers grow;
# crash files land in build/fuzz/ as well. FUZZ_SECONDS overrides the 20 s per target.
# $1 (the Windows tree name passed by scripts/test.sh) is not needed here.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
out="$TK_ROOT/build/fuzz"
seconds=${FUZZ_SECONDS:-20}
CXX_FUZZ=${CXX_FUZZ:-clang++}

command -v "$CXX_FUZZ" >/dev/null 2>&1 ||
    { echo "test-fuzz: $CXX_FUZZ not found (scripts/deps.sh installs clang)"; exit 1; }
mkdir -p "$out"

flags="-std=c++17 -g -O1 -Wall -Wextra -Werror -I. -fno-sanitize-recover=all -fno-omit-frame-pointer"
sanitizers="-fsanitize=address,undefined"

# build TARGET "GUIDED SOURCES" [PLAIN SOURCES]: the guided sources get libFuzzer's coverage
# instrumentation; plain ones only the sanitizers. The audio encoder is plain: its paths depend on
# nothing but the block sizes, lead-ins and options that the guided reader already tells apart, and
# tracing its sample loops would cost most of each run.
build() {
    target=$1 guided=$2 plain=$3
    log="$out/$target.build.log"
    objects=""
    for source in $plain; do
        object="$out/$target-$(basename "$source" .cpp).o"
        # shellcheck disable=SC2086
        (cd "$TK_ROOT" && "$CXX_FUZZ" $flags $sanitizers -c "$source" -o "$object") >"$log" 2>&1 ||
            { cat "$log"; echo "test-fuzz: building $target failed"; return 1; }
        objects="$objects $object"
    done
    # shellcheck disable=SC2086
    (cd "$TK_ROOT" && "$CXX_FUZZ" $flags -fsanitize=fuzzer,address,undefined \
        -o "$out/$target" "fuzz/$target.cpp" $guided $objects) >"$log" 2>&1 ||
        { cat "$log"; echo "test-fuzz: building $target failed"; return 1; }
}

build level_decoder_fuzz level/levelcodec.cpp
build tape_reader_fuzz tape/casblocks.cpp "tape/casencoder.cpp tape/wavheader.cpp"
# tomkrin's tape directory, the judgement of its files, level slots and level checks; the tables
# they look values up in are plain.
build tape_directory_fuzz "tape/tapedirectory.cpp tape/tapefiles.cpp tape/casblocks.cpp tape/levelslots.cpp level/levelcodec.cpp level/levelcheck.cpp level/leveltitle.cpp" \
    "tape/tapeoffsets.cpp canvas/blockcatalog.cpp props/monstertables.cpp"
# The decoder is plain for the reason the encoder is: its loops run over the samples, and a few
# kilobytes of them rarely hold a lead-in tone long enough to start a block.
build wav_reader_fuzz tape/wavreader.cpp "tape/tapesignal.cpp tape/casdecoder.cpp \
    tape/blockreader.cpp tape/leadinfinder.cpp tape/bitdetector.cpp"

status=0
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
        status=1
    fi
}

# A level file is read only up to its 493rd byte, so a little beyond that is enough; tape images
# of a few kilobytes hold hundreds of blocks.
run level_decoder_fuzz level 1024
run tape_reader_fuzz tape 4096
run tape_directory_fuzz tapedir 4096
run wav_reader_fuzz wav 4096
exit $status
