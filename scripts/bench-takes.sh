#!/bin/sh
# How long wav2cas takes, and in how much memory, to decode one, two and three takes of an
# 11-minute tape together. The demonstration tape (mkdemotape, 10.6 minutes at 1200 baud) is
# encoded by our cas2wav and played three times the way three decks would: each take at its own
# speed, sample rate and leading silence, band-limited to 150 Hz - 5 kHz, with its own white noise
# at about 20 dB, saved as 16-bit PCM. Every run is the whole program; the time is the processor
# time it took (user and system; best of 5), set against the takes' times each decoded alone, the
# memory its peak resident set. Prints the table in Markdown, with one take at 2400 baud as well,
# to compare with the decode speed of one take.
#   scripts/bench-takes.sh
# Not part of the test command: it takes a minute or two. Needs sox and python3.
set -e
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/build.sh"
tree="$TK_ROOT/build/bench-native"
work="$TK_ROOT/build/bench-takes"

for tool in sox soxi python3; do
    command -v $tool >/dev/null 2>&1 || { echo "bench-takes: $tool not found"; exit 1; }
done
echo "== Building wav2cas and cas2wav in build/bench-native (Release, no sanitizers)" >&2
tk_configure_build bench-native wav2cas cas2wav mkdemotape >&2
rm -rf "$work"
mkdir -p "$work"
cd "$work"

"$tree/mkdemotape" demo.cas >/dev/null
"$tree/cas2wav" demo.cas demo-1200.wav >/dev/null
"$tree/cas2wav" -2 demo.cas demo-2400.wav >/dev/null

# take SOURCE SPEED RATE SILENCE NOISE-DRAW OUTPUT: draw N of the noise is the stretch of sox's
# repeatable noise that starts 7 N seconds in.
take() {
    sox "$1" -r "$3" -b 32 -e floating-point shaped.wav vol 0.3 speed "$2" highpass 150 \
        lowpass 5000 pad "$4" 0
    seconds=$(soxi -D shaped.wav)
    skip=$((7 * $5))
    sox -R -n -r "$3" -b 32 -e floating-point noise.wav synth \
        "$(awk -v s="$seconds" -v k="$skip" 'BEGIN { print s + k }')" whitenoise vol 0.03 trim "$skip"
    sox -m shaped.wav noise.wav -b 16 "$6"
    rm -f shaped.wav noise.wav
}
take demo-1200.wav 1.00 44100 0.1 0 a.wav
take demo-1200.wav 0.98 48000 0.5 1 b.wav
take demo-1200.wav 1.02 44100 0.9 2 c.wav
take demo-2400.wav 1.00 44100 0.1 0 fast.wav

# run IMAGE RECORDINGS...: the best processor time of 5 runs, the largest peak memory in MiB, and
# whether the image decoded is the tape's, byte for byte.
run() {
    python3 - "$tree/wav2cas" "$@" <<'PY'
import os, subprocess, sys
program, image, recordings = sys.argv[1], sys.argv[2], sys.argv[3:]
best, peak = None, 0
for _ in range(5):
    child = subprocess.Popen([program, *recordings, "out.cas", "-q"], stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    used = usage.ru_utime + usage.ru_stime
    best = used if best is None else min(best, used)
    peak = max(peak, usage.ru_maxrss / 1024)
exact = open("out.cas", "rb").read() == open(image, "rb").read()
print(f"{best:.3f} {peak:.1f} {'yes' if exact else 'no'}")
PY
}

# Each take alone first: the takes differ in length and rate (b.wav holds 11 % more samples than
# a.wav, c.wav 2 % fewer), so n takes together are measured against their times one by one.
alone() { # recording: its decode time alone
    run demo.cas "$1" | cut -d' ' -f1
}
time_a=$(alone a.wav)
time_b=$(alone b.wav)
time_c=$(alone c.wav)
playing=$(soxi -D a.wav)
echo "| Recordings | Playing time of a.wav | Decode time | The takes one by one | Together / one by one | Faster than playing a.wav | Peak memory | Exact |"
echo "|---|---|---|---|---|---|---|---|"
for takes in "a.wav" "a.wav b.wav" "a.wav b.wav c.wav"; do
    # shellcheck disable=SC2046,SC2086
    set -- $(run demo.cas $takes)
    count=$(echo "$takes" | wc -w)
    awk -v n="$count" -v p="$playing" -v t="$1" -v m="$2" -v e="$3" -v a="$time_a" -v b="$time_b" \
        -v c="$time_c" 'BEGIN {
        apart = a + (n > 1 ? b : 0) + (n > 2 ? c : 0)
        printf "| %d take%s, 1200 baud | %.1f s | %.3f s | %.3f s | %.2f | %.0f times | %.1f MiB | %s |\n",
            n, n == 1 ? "" : "s", p, t, apart, t / apart, p / t, m, e }'
done
# shellcheck disable=SC2046
set -- $(run demo.cas fast.wav)
awk -v p="$(soxi -D fast.wav)" -v t="$1" -v m="$2" -v e="$3" 'BEGIN {
    printf "| 1 take, 2400 baud (fast.wav) | %.1f s | %.3f s | | | %.0f times | %.1f MiB | %s |\n", p, t, p / t, m, e }'
