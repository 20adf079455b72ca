#!/bin/sh
# One fuzz target's test: run-fuzzer.sh TARGET SEEDS CORPUS MAX_LEN
# Copies the committed SEEDS into CORPUS (which the runs grow) and runs TARGET on it for
# FUZZ_SECONDS (default 10) with inputs of at most MAX_LEN bytes. A finding fails, leaving the input
# beside TARGET as TARGET-crash-... and the end of the fuzzer's log on the output.
set -e
target=$1 seeds=$2 corpus=$3 maxlen=$4
seconds=${FUZZ_SECONDS:-10}
mkdir -p "$corpus"
cp "$seeds"/* "$corpus/"
log="$target.log"
# A small quarantine still catches a use after free within one run, and keeps the encoder's large
# buffers from costing fresh pages on every run.
if ASAN_OPTIONS="quarantine_size_mb=16:${ASAN_OPTIONS:-}" "$target" -max_total_time="$seconds" \
    -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$target-" "$corpus" >"$log" 2>&1; then
    units=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$(basename "$target"): no finding in $seconds s, ${units:-?} executions"
else
    tail -n 40 "$log"
    echo "$(basename "$target") found a fault (log: $log)"
    exit 1
fi
