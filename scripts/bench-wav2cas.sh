#!/bin/sh
# How well wav2cas decodes poor and damaged recordings, how fast, and in how much memory. Encodes an
# 8 KB tape image (a binary file: header block and one data block of random bytes) with our cas2wav
# at 1200 and 2400 baud, degrades each recording with sox the way a cassette and a sound card do
# (tape speed changed, resampled to 44,100 Hz, band-limited to 150 Hz - 5 kHz, white noise mixed in
# at a chosen broadband SNR, saved as 16-bit PCM), decodes every one with a Release wav2cas, and
# writes the tables into the wav2cas section at the end of docs/performance.md (replacing an
# earlier one). Every cell of the noise table takes several draws of the noise. A second table
# plays the recordings on a deck with wow and flutter (our wowtape: the speed, and with it pitch
# and timing, changes sinusoidally) at 20 dB. A third damages the recording of a 16 KB file the
# way a worn tape does (silence, a cut, a burst of noise, with sox) before the same chain. Then the
# decode speed, and the peak memory on a recording of a whole tape side (95 minutes); last, time
# and memory of one, two and three takes of an 11-minute tape decoded together (bench-takes.sh).
#   scripts/bench-wav2cas.sh
#   TK_BENCH_AGAINST=/path/to/another/wav2cas scripts/bench-wav2cas.sh   (speed side by side;
#   TK_BENCH_AGAINST_NAME names it in the table)
#   TK_BENCH_DRAWS=N   noise draws per cell (5)
# Not part of the test command: it takes several minutes. Needs sox and python3.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/build.sh"
tree="$TK_ROOT/build/bench-native"
work="$TK_ROOT/build/bench-wav2cas"
doc="$TK_ROOT/docs/performance.md"
snrs="30 20 14 10 6 5 4 3"
speeds="0.92 0.96 1.00 1.04 1.08"
draws=${TK_BENCH_DRAWS:-5}
# Wow depths (per cent) and frequencies (Hz); the flutter at each rate, "percent Hz".
wows="1 2 3 4"
wow_hzs="0.3 0.5 1 2"
flutter_1200="0.5 10"
flutter_2400="0.4 10"
wow_snr=20
damage_snr=20
# Copies of the demonstration tape's recording (10.6 minutes each) in the long recording.
long_copies=9

for tool in sox soxi python3; do
    command -v $tool >/dev/null 2>&1 || { echo "bench-wav2cas: $tool not found"; exit 1; }
done
echo "== Building wav2cas and cas2wav in build/bench-native (Release, no sanitizers)"
tk_configure_build bench-native wav2cas cas2wav wowtape mkdemotape
rm -rf "$work"
mkdir -p "$work"
cd "$work"

# The tape images: 8,192 and 16,384 bytes with the two markers; the data block's addresses
# announce its length, then random bytes from a fixed seed.
python3 - <<'PY'
import random
marker = bytes([0x1F, 0xA6, 0xDE, 0xBA, 0xCC, 0x13, 0x7D, 0x74])
def image(path, total, name, seed):
    header = bytes([0xD0] * 10) + name
    rng = random.Random(seed)
    size = total - 2 * len(marker) - len(header) - 6
    end = 0x8000 + size - 1
    addresses = bytes([0x00, 0x80, end & 0xFF, end >> 8, 0x00, 0x80])
    data = addresses + bytes(rng.randrange(256) for _ in range(size))
    open(path, "wb").write(marker + header + marker + data)
image("tape.cas", 8192, b"BENCH ", 2026)
image("big.cas", 16384, b"BIG16K", 2027)
PY

rms_db() { # file [trim arguments]: the RMS level in dB of full scale
    file=$1
    shift
    sox "$file" -n "$@" stats 2>&1 | awk '/^RMS lev dB/ { print $4 }'
}

# degrade SOURCE SPEED SNR OUTPUT [DRAW]: draw N of the noise is the stretch of sox's repeatable
# noise that starts 7 N seconds in.
degrade() {
    sox "$1" -r 44100 -b 32 -e floating-point shaped.wav vol 0.3 speed "$2" highpass 150 lowpass 5000
    seconds=$(soxi -D shaped.wav)
    skip=$((7 * ${5:-0}))
    # The signal's power while it sounds: measured within the data block, which runs from about
    # 12 s to past 40 s at either rate and speed.
    signal=$(rms_db shaped.wav trim 14 5)
    sox -R -n -r 44100 -b 32 -e floating-point noise.wav synth \
        "$(awk -v s="$seconds" -v k="$skip" 'BEGIN { print s + k }')" whitenoise vol 0.5 trim "$skip"
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

# decode_recording IMAGE: decodes rec.wav; sets $wrong (bytes that differ from IMAGE) and $status,
# and leaves the report in decode.txt and the image in rec.cas.
decode_recording() {
    status=0
    rm -f rec.cas
    "$tree/wav2cas" rec.wav rec.cas >decode.txt 2>&1 || status=$?
    if [ -f rec.cas ]; then wrong=$(wrong_bytes "$1" rec.cas); else wrong=$(wc -c <"$1"); fi
}

results="$work/results.txt"
: >"$results"
for baud in 1200 2400; do
    option=""
    [ "$baud" = 2400 ] && option=-2
    "$tree/cas2wav" tape.cas clean-$baud.wav $option
    for snr in $snrs; do
        for speed in $speeds; do
            draw=0
            while [ $draw -lt "$draws" ]; do
                degrade clean-$baud.wav "$speed" "$snr" rec.wav $draw
                decode_recording tape.cas
                echo "$baud $snr $speed $draw $wrong $status" | tee -a "$results"
                draw=$((draw + 1))
            done
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
            decode_recording tape.cas
            echo "$baud $wow $hz 0 $wrong $status" | tee -a "$wow_results"
        done
    done
done

# Damage as a worn tape does it, on the recording of the 16 KB file, before the chain above at
# nominal speed and 20 dB. Positions are in the clean recording, where cas2wav puts the blocks
# (docs/cas2wav.md): the header's first byte after 2 s of silence and 16,000 cycles of 2,400 Hz
# (32,000 of 4,800 Hz at 2400 baud), the data block's after the header's 16 bytes, 1 s of silence
# and 1 2/3 s of tone; a byte lasts 11 bits. The recording is worked on as floats, so that a loud
# burst does not clip.
# damage_dropout IN OUT AT LENGTH: silence; damage_cut IN OUT AT LENGTH: the stretch taken out,
# the tape after it joined on; damage_burst IN OUT AT LENGTH: white noise 10 dB louder than the
# signal mixed in (sox's white noise is uniform: at 0.9 its power is 10 dB over that of the
# recording at a quarter, whose sine peaks at 120/128 of full scale).
damage_dropout() {
    sox "$1" "$2" trim 0 "=$3" "=$(awk -v a="$3" -v l="$4" 'BEGIN { print a + l }')" pad "$4@$3"
}
damage_cut() {
    sox "$1" "$2" trim 0 "=$3" "=$(awk -v a="$3" -v l="$4" 'BEGIN { print a + l }')"
}
damage_burst() { # the recording at a quarter, so that nothing clips
    sox -m -v 0.25 "$1" -v 1 \
        "|sox -n -r 43200 -c 1 -b 32 -e floating-point -p synth $4 whitenoise vol 0.9 pad $3" "$2"
}
damage_results="$work/damage-results.txt"
: >"$damage_results"
# Each case: its name, then up to two faults "kind block byte length" (byte: where in the block,
# in bytes from its first byte's start; length in seconds; block 2's lead-in counts back from it).
damage_cases="dropout:dropout,2,8000.3,0.060 splice:cut,2,8000.6,0.025 burst:burst,2,8000.3,0.060
dropout-splice:dropout,2,6000.3,0.060:cut,2,12000.6,0.025 two-splices:cut,2,6000.6,0.025:cut,2,12000.4,0.025
leadin-dropout:dropout,2,-18.3,0.060 leadin-burst:burst,2,-30.2,0.060 header-dropout:dropout,1,6.3,0.030"
for baud in 1200 2400; do
    option=""
    [ "$baud" = 2400 ] && option=-2
    "$tree/cas2wav" big.cas big-$baud.wav $option
    sox big-$baud.wav -e floating-point -b 32 big-float-$baud.wav
    header_at=$(awk 'BEGIN { printf "%.6f", 2 + 16000 / 2400 }')
    data_at=$(awk -v h="$header_at" -v b="$baud" 'BEGIN { printf "%.6f", h + 16 * 11 / b + 1 + 4000 / 2400 }')
    byte=$(awk -v b="$baud" 'BEGIN { print 11 / b }')
    for entry in $damage_cases; do
        name=${entry%%:*}
        faults=${entry#*:}
        cp big-float-$baud.wav damaged.wav
        # The later fault first, so that a cut leaves the earlier one's place as it was.
        ranges=""
        for fault in $(echo "$faults" | tr ':' '\n' | sort -t, -k3 -g -r); do
            kind=$(echo "$fault" | cut -d, -f1)
            block=$(echo "$fault" | cut -d, -f2)
            at_byte=$(echo "$fault" | cut -d, -f3)
            length=$(echo "$fault" | cut -d, -f4)
            [ "$block" = 1 ] && start=$header_at || start=$data_at
            at=$(awk -v s="$start" -v k="$at_byte" -v b="$byte" 'BEGIN { printf "%.5f", s + k * b }')
            "damage_$kind" damaged.wav next.wav "$at" "$length"
            mv next.wav damaged.wav
            ranges="$ranges $block,$at_byte,$(awk -v k="$at_byte" -v l="$length" -v b="$byte" 'BEGIN { print k + l / b }')"
        done
        degrade damaged.wav 1.00 "$damage_snr" rec.wav
        decode_recording big.cas
        lost=$(sed -n 's/.* \([0-9]*\) bytes\{0,1\} lost in .*/\1/p' decode.txt | tail -1)
        errors=$(sed -n 's/.* \([0-9]*\) framing errors\{0,1\},.*/\1/p' decode.txt | tail -1)
        outside=$(python3 - big.cas rec.cas $ranges <<'PY'
import math, sys
original = open(sys.argv[1], "rb").read()
try:
    decoded = open(sys.argv[2], "rb").read()
except OSError:
    decoded = b""
# Block 1's bytes from image offset 8, block 2's from 32; a damaged stretch may cost the byte just
# before it as well.
allowed = set()
for stretch in sys.argv[3:]:
    block, start, end = stretch.split(",")
    first = 8 if block == "1" else 32
    start, end = float(start), float(end)
    if start < 0:
        continue
    for k in range(max(0, math.floor(start) - 1), math.ceil(end) + 1):
        allowed.add(first + k)
wrong = abs(len(original) - len(decoded))
wrong += sum(1 for i in range(min(len(original), len(decoded)))
             if original[i] != decoded[i] and i not in allowed)
print(wrong)
PY
)
        echo "$baud $name ${lost:-0} $outside $wrong $status ${errors:-0}" | tee -a "$damage_results"
    done
done

# Decode speed: the 20 dB recording at nominal speed, best of 5, against its playing time. The
# processor time the program takes (user and system) is counted rather than the time on the clock,
# which on a shared machine measures the other programs as well. With TK_BENCH_AGAINST another
# wav2cas is timed in the same run, turn about, on the same file.
best_time() { # program recording
    python3 - "$1" "$2" <<'PY'
import resource, subprocess, sys
best = None
for _ in range(5):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([sys.argv[1], sys.argv[2], "speed.cas", "-q"], stdout=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    used = after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime
    best = used if best is None else min(best, used)
print(best)
PY
}
speed_line() { # baud
    degrade clean-$1.wav 1.00 20 speed.wav
    playing=$(soxi -D speed.wav)
    ours=$(best_time "$tree/wav2cas" speed.wav)
    line=$(awk -v p="$playing" -v t="$ours" -v baud="$1" \
        'BEGIN { printf "| %s | %.1f s | %.3f s | %.0f times |", baud, p, t, p / t }')
    if [ -n "${TK_BENCH_AGAINST:-}" ]; then
        theirs=$(best_time "$TK_BENCH_AGAINST" speed.wav)
        line="$line$(awk -v p="$playing" -v t="$theirs" -v o="$ours" \
            'BEGIN { printf " %.3f s, %.0f times | %.2f |", t, p / t, o / t }')"
    fi
    echo "$line"
}

# Memory: a recording of a whole tape side, the demonstration tape's recording (1200 baud,
# resampled to 44.1 kHz 16-bit mono) nine times over, as .wav and as .flac; the peak resident
# memory of the whole program, and whether its image is the nine tapes'.
"$tree/mkdemotape" demo.cas
"$tree/cas2wav" demo.cas demo.wav
sox demo.wav -r 44100 -b 16 demo44.wav
copies=""
i=0
while [ $i -lt $long_copies ]; do copies="$copies demo44.wav"; i=$((i + 1)); done
# shellcheck disable=SC2086
sox $copies long.wav
sox long.wav long.flac
memory_line() { # recording
    python3 - "$tree/wav2cas" "$1" <<'PY'
import os, resource, subprocess, sys
result = subprocess.run([sys.argv[1], sys.argv[2], "long.cas", "-q"], stdout=subprocess.DEVNULL)
peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024
size = os.path.getsize(sys.argv[2]) / 1e6
print("| %s | %.0f MB | %.1f MiB | %s |" % (os.path.splitext(sys.argv[2])[1], size, peak,
      "yes" if result.returncode == 0 else "no (exit %d)" % result.returncode))
PY
}

cell() { # results-file baud row column: the table cell of that row and column over its draws
    awk -v b="$2" -v r="$3" -v c="$4" '
        $1 == b && $2 == r && $3 == c { n++; if ($5 > 0) { bad++; if ($5 > most) most = $5 } }
        END {
            if (bad == 0) printf " exact |"
            else if (n == 1) printf " %d wrong |", most
            else printf " %d of %d: up to %d wrong |", bad, n, most
        }' "$1"
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

damage_cell() { # baud case
    awk -v b="$1" -v c="$2" '$1 == b && $2 == c {
        if ($5 == 0) { printf " exact |"; next }
        if ($4 > 0) { printf " %d wrong outside |", $4; next }
        printf " right"
        if ($3 > 0) printf ", %d lost", $3
        if ($7 > 0) printf ", %d framing error%s", $7, $7 == 1 ? "" : "s"
        printf " |"
    }' "$damage_results"
}

damage_table() {
    printf '| Damage (20 dB) | 1200 baud | 2400 baud |\n|---|---|---|\n'
    for entry in "dropout:a dropout of 60 ms" "splice:a splice: 25 ms cut out" \
        "burst:a burst of noise of 60 ms, 10 dB above the signal" \
        "dropout-splice:a dropout and a splice in one block" "two-splices:two splices in one block" \
        "leadin-dropout:a dropout of 60 ms in the data block's lead-in" \
        "leadin-burst:a burst of noise of 60 ms in the lead-in" \
        "header-dropout:a dropout of 30 ms in the 16-byte file header"; do
        printf '| %s |' "${entry#*:}"
        damage_cell 1200 "${entry%%:*}"
        damage_cell 2400 "${entry%%:*}"
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
    echo "of the 44.1 kHz file. Each cell takes $draws draws of the noise (different stretches of sox's"
    echo "repeatable white noise) and says \`exact\` when every decoded tape image equals the original"
    echo "byte for byte, otherwise in how many draws it did not and the most bytes wrong in one"
    echo "(differing, missing or extra)."
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
    echo "to 44,100 Hz at that changing rate, then filtered and given noise as above at $wow_snr dB (one"
    echo "draw)."
    echo
    echo "1200 baud:"
    echo
    wow_table 1200
    echo
    echo "2400 baud:"
    echo
    wow_table 2400
    echo
    echo "### Damage"
    echo
    echo "A 16,384-byte tape image (a binary file: a header block and one data block of 16,352 random"
    echo "bytes) encoded by our \`cas2wav\`, damaged with sox the way a worn tape is (silence for a"
    echo "dropout; a stretch cut out and the tape after it joined on for a splice; white noise mixed in"
    echo "for a burst), in the middle of the data block (its byte 8,000; the second fault at byte"
    echo "12,000, the first then at 6,000), then degraded as above at nominal speed and $damage_snr dB."
    echo "\`exact\`: the decoded image equals the original; \`right, N lost\`: every byte outside the"
    echo "damaged stretch (and the byte before it) is right at its offset, the block has its announced"
    echo "length, and the report names the N bytes lost in it, given as 0x00 (and the bytes in it read"
    echo "with a framing error, where the signal outlasted the damage)."
    echo
    damage_table
    echo
    echo "### Decode speed"
    echo
    echo "The 20 dB recording at nominal speed, best of 5 runs of the whole program (reading the file,"
    echo "decoding, writing the tape image), one core; the decode time is the processor time it took."
    echo
    if [ -n "${TK_BENCH_AGAINST:-}" ]; then
        echo "| Baud | Playing time | Decode time | Faster than playing | ${TK_BENCH_AGAINST_NAME:-$TK_BENCH_AGAINST} | Time against it |"
        echo "|---|---|---|---|---|---|"
    else
        echo "| Baud | Playing time | Decode time | Faster than playing |"
        echo "|---|---|---|---|"
    fi
    speed_line 1200
    speed_line 2400
    echo
    echo "### Memory"
    echo
    echo "A recording of a whole tape side: the recording of the demonstration tape (\`mkdemotape\`,"
    echo "1200 baud, 44.1 kHz 16-bit mono) $long_copies times over, $(soxi -d long.wav | cut -d. -f1) long;"
    echo "the peak resident memory of the whole program decoding it (the recording is read as a"
    echo "stream), and whether it decoded clean."
    echo
    echo "| File | Size | Peak memory | Clean |"
    echo "|---|---|---|---|"
    memory_line long.wav
    memory_line long.flac
    echo
    echo "### Several takes"
    echo
    echo "Written by \`scripts/bench-takes.sh\`: the demonstration tape (\`mkdemotape\`, 1200 baud) encoded"
    echo "by our \`cas2wav\` and played as three decks would, each take at its own speed (1.00, 0.98,"
    echo "1.02), sample rate (44.1, 48, 44.1 kHz) and leading silence, filtered as above, with its own"
    echo "white noise at about 20 dB, 16-bit; decoded together by \`wav2cas a.wav [b.wav [c.wav]] out.cas\`."
    echo "The decode time is the processor time of the whole program, best of 5, set against the sum"
    echo "of the takes' times each decoded alone (they differ: b.wav holds 11 % more samples than"
    echo "a.wav, c.wav 2 % fewer); the peak memory its peak resident set; exact: the image is the tape's"
    echo "byte for byte. A single take at 2400 baud for comparison. How well the takes make up for each other's noise and damage is measured"
    echo "by \`takes_bench\` (docs/wav2cas.md, Several takes of one tape)."
    echo
    sh "$TK_ROOT/scripts/bench-takes.sh"
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
