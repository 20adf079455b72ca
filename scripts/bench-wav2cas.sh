#!/bin/sh
# How well wav2cas decodes poor recordings, and how fast. Encodes an 8 KB tape image (a binary file:
# header block and one data block of random bytes) with our cas2wav at 1200 and 2400 baud, degrades
# each recording with sox the way a cassette and a sound card do (tape speed changed, resampled to
# 44,100 Hz, band-limited to 150 Hz - 5 kHz, white noise mixed in at a chosen broadband SNR, saved
# as 16-bit PCM), decodes every one with a Release wav2cas, and writes the table of exact decodes
# into the wav2cas section at the end of docs/performance.md (replacing an earlier one). A second
# table plays the recordings on a deck with wow and flutter (our wowtape: the speed, and with it
# pitch and timing, changes sinusoidally) at 20 dB.
#   scripts/bench-wav2cas.sh
# Not part of the test command: it takes a few minutes. Needs sox and python3.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/build.sh"
tree="$TK_ROOT/build/bench-native"
work="$TK_ROOT/build/bench-wav2cas"
doc="$TK_ROOT/docs/performance.md"
snrs="30 20 14 10 6 3"
speeds="0.92 0.96 1.00 1.04 1.08"
# Wow depths (per cent) and frequencies (Hz); the flutter at each rate, "percent Hz".
wows="1 2 3 4"
wow_hzs="0.3 0.5 1 2"
flutter_1200="0.5 10"
flutter_2400="0.4 10"
wow_snr=20

for tool in sox soxi python3; do
    command -v $tool >/dev/null 2>&1 || { echo "bench-wav2cas: $tool not found"; exit 1; }
done
echo "== Building wav2cas and cas2wav in build/bench-native (Release, no sanitizers)"
tk_configure_build bench-native wav2cas cas2wav wowtape
rm -rf "$work"
mkdir -p "$work"
cd "$work"

# The tape image: 8,192 bytes with the two markers; the data block's addresses announce its
# length, then random bytes from a fixed seed.
python3 - <<'PY'
import random
marker = bytes([0x1F, 0xA6, 0xDE, 0xBA, 0xCC, 0x13, 0x7D, 0x74])
header = bytes([0xD0] * 10) + b"BENCH "
rng = random.Random(2026)
size = 8192 - 2 * len(marker) - len(header) - 6
end = 0x8000 + size - 1
addresses = bytes([0x00, 0x80, end & 0xFF, end >> 8, 0x00, 0x80])
data = addresses + bytes(rng.randrange(256) for _ in range(size))
open("tape.cas", "wb").write(marker + header + marker + data)
PY

rms_db() { # file [trim arguments]: the RMS level in dB of full scale
    file=$1
    shift
    sox "$file" -n "$@" stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'
}

# degrade SOURCE SPEED SNR OUTPUT
degrade() {
    sox "$1" -r 44100 -b 32 -e floating-point shaped.wav vol 0.3 speed "$2" highpass 150 lowpass 5000
    seconds=$(soxi -D shaped.wav)
    # The signal's power while it sounds: measured within the data block, which runs from about
    # 12 s to past 40 s at either rate and speed.
    signal=$(rms_db shaped.wav trim 14 5)
    sox -R -n -r 44100 -b 32 -e floating-point noise.wav synth "$seconds" whitenoise vol 0.5
    noise=$(rms_db noise.wav)
    gain=$(awk -v s="$signal" -v n="$noise" -v snr="$3" 'BEGIN { printf "%.3f", s - snr - n }')
    sox -m -v 1 shaped.wav -v 1 "|sox noise.wav -p gain $gain" -b 16 "$4"
}

# Wrong bytes: those that differ plus those missing or extra at the end.
wrong_bytes() {
    a=$(wc -c <"$1")
    b=$(wc -c <"$2")
    differ=$(cmp -l "$1" "$2" 2>/dev/null | wc -l)
    echo $((differ + (a > b ? a - b : b - a)))
}

results="$work/results.txt"
# decode_recording: decodes rec.wav; sets $wrong (bytes that differ from tape.cas) and $status.
decode_recording() {
    status=0
    "$tree/wav2cas" rec.wav rec.cas -q >decode.txt 2>&1 || status=$?
    if [ -f rec.cas ]; then wrong=$(wrong_bytes tape.cas rec.cas); else wrong=8192; fi
    rm -f rec.cas
}

: >"$results"
for baud in 1200 2400; do
    option=""
    [ "$baud" = 2400 ] && option=-2
    "$tree/cas2wav" tape.cas clean-$baud.wav $option
    for snr in $snrs; do
        for speed in $speeds; do
            degrade clean-$baud.wav "$speed" "$snr" rec.wav
            decode_recording
            echo "$baud $snr $speed $wrong $status" | tee -a "$results"
        done
    done
done

# The same recordings played on a deck with wow and flutter, then degraded as above at nominal speed.
wow_results="$work/wow-results.txt"
: >"$wow_results"
for baud in 1200 2400; do
    eval "flutter=\$flutter_$baud"
    for wow in $wows; do
        for hz in $wow_hzs; do
            "$tree/wowtape" clean-$baud.wav wobbled.wav "$wow" "$hz" "${flutter% *}" "${flutter#* }" 1
            degrade wobbled.wav 1.00 "$wow_snr" rec.wav
            decode_recording
            echo "$baud $wow $hz $wrong $status" | tee -a "$wow_results"
        done
    done
done

# Decode speed: the 20 dB recording at nominal speed, best of 5, against its playing time. The
# processor time the program takes (user and system) is counted rather than the time on the clock,
# which on a shared machine measures the other programs as well.
speed_line() { # baud
    degrade clean-$1.wav 1.00 20 speed.wav
    playing=$(soxi -D speed.wav)
    best=$(python3 - "$tree/wav2cas" speed.wav speed.cas <<'PY'
import resource, subprocess, sys
best = None
for _ in range(5):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(sys.argv[1:] + ["-q"], stdout=subprocess.DEVNULL, check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    used = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
    best = used if best is None else min(best, used)
print(best)
PY
)
    awk -v p="$playing" -v t="$best" -v baud="$1" \
        'BEGIN { printf "| %s | %.1f s | %.3f s | %.0f times |\n", baud, p, t, p / t }'
}

cell() { # results-file baud row column: the table cell of that result
    wrong=$(awk -v b="$2" -v r="$3" -v c="$4" '$1 == b && $2 == r && $3 == c { print $4 }' "$1")
    if [ "$wrong" = 0 ]; then printf ' exact |'; else printf ' %s wrong |' "$wrong"; fi
}

header() { # corner unit columns...: a table's two header rows
    corner=$1 unit=$2
    shift 2
    printf "| $corner |"
    for column in "$@"; do printf ' %s%s |' "$column" "$unit"; done
    printf '\n|---|'
    for column in "$@"; do printf -- '---|'; done
    printf '\n'
}

table() { # baud
    header 'SNR \\ speed' '' $speeds
    for snr in $snrs; do
        printf '| %s dB |' "$snr"
        for speed in $speeds; do
            cell "$results" "$1" "$snr" "$speed"
        done
        printf '\n'
    done
}

wow_table() { # baud
    eval "flutter=\$flutter_$1"
    header 'Wow + flutter \\ wow frequency' ' Hz' $wow_hzs
    for wow in $wows; do
        printf '| ±%s %% + ±%s %% at %s Hz |' "$wow" "${flutter% *}" "${flutter#* }"
        for hz in $wow_hzs; do
            cell "$wow_results" "$1" "$wow" "$hz"
        done
        printf '\n'
    done
}

section="$work/section.md"
{
    echo "## wav2cas: decoding poor recordings"
    echo
    echo "Written by \`scripts/bench-wav2cas.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)."
    echo
    echo "An 8,192-byte tape image (a binary file: a header block and one data block of 8,160 random"
    echo "bytes) is encoded by our \`cas2wav\` at 1200 and at 2400 baud, and each recording degraded with"
    echo "sox: \`speed\` (the tape speed; pitch and length change together), resampled to 44,100 Hz,"
    echo "\`highpass 150\` and \`lowpass 5000\`, then white noise mixed in and saved as 16-bit PCM. The"
    echo "**broadband SNR** is the power of the tape signal while it sounds (measured over five seconds of"
    echo "the data block after the filters) over the power of the noise across the whole 0-22,050 Hz band"
    echo "of the 44.1 kHz file. A cell says \`exact\` when the decoded tape image equals the original byte"
    echo "for byte, otherwise how many bytes are wrong (differing, missing or extra)."
    echo
    echo "### 1200 baud"
    echo
    table 1200
    echo
    echo "### 2400 baud"
    echo
    table 2400
    echo
    echo "### Wow and flutter"
    echo
    echo "The same recordings played on a deck whose speed wobbles, by our \`wowtape\` (\`bench/wowtape.cpp\`):"
    echo "wow and flutter are sinusoidal changes of the tape speed with the depth (peak) and frequency"
    echo "given and a fixed random phase, so pitch and timing move together; the recording is resampled"
    echo "to 44,100 Hz at that changing rate, then filtered and given noise as above at $wow_snr dB."
    echo
    echo "1200 baud:"
    echo
    wow_table 1200
    echo
    echo "2400 baud:"
    echo
    wow_table 2400
    echo
    echo "### Decode speed"
    echo
    echo "The 20 dB recording at nominal speed, best of 5 runs of the whole program (reading the file,"
    echo "decoding, writing the tape image), one core; the decode time is the processor time it took."
    echo
    echo "| Baud | Playing time | Decode time | Faster than playing |"
    echo "|---|---|---|---|"
    speed_line 1200
    speed_line 2400
} >"$section"

# Replace an earlier section of this benchmark, keep everything before it.
if grep -q '^## wav2cas: decoding poor recordings' "$doc"; then
    sed -i '/^## wav2cas: decoding poor recordings/,$d' "$doc"
fi
[ -z "$(tail -c 1 "$doc")" ] || echo >>"$doc"
{ echo; cat "$section"; } >>"$doc"
# No blank line twice in a row where the sections meet.
cat -s "$doc" >"$work/doc.md" && cp "$work/doc.md" "$doc"
cat "$section"
echo "== Wrote the wav2cas section of $doc"
