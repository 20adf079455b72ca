#!/bin/sh
# Runs the Windows cas2wav.exe under Wine on small tape images made here.
#   cas2wav_wine_test.sh CAS2WAV_EXE WINE_RUN_SCRIPT WORK_DIRECTORY
set -u
exe="$1"
. "$(dirname "$0")/winetest.sh"
wine_test_start "$@"
size_of() { wc -c <"$1" | tr -d ' '; }
convert() { sh "$wine_run" "$exe" "$@" 2>stderr.txt; }

marker='\037\246\336\272\314\023\175\164'
# A binary file: a header block (ten 0xD0 bytes and a six-letter name), then eight data bytes.
printf "$marker\320\320\320\320\320\320\320\320\320\320TOMKRN$marker\001\002\003\004\005\006\007\010" >tiny.cas
printf 'not a tape image' >notes.txt

# As the editor calls it: the switch after the two paths. 2 s + 32,000 cycles of 9 samples, 16
# bytes of 198 samples, 1 s + 8,000 cycles, 8 bytes, 1 s, and the 44-byte header.
convert tiny.cas tiny.cas.wav -2 || fail "conversion at 2400 baud: $(cat stderr.txt)"
[ "$(size_of tiny.cas.wav)" = 537596 ] || fail "size at 2400 baud: $(size_of tiny.cas.wav)"
[ "$(head -c 4 tiny.cas.wav)" = RIFF ] || fail "no RIFF header"
[ "$(dd if=tiny.cas.wav bs=1 skip=8 count=8 2>/dev/null)" = "WAVEfmt " ] || fail "no WAVE format"

# Converting again replaces the earlier output.
convert tiny.cas tiny.cas.wav || fail "conversion at 1200 baud over an existing file: $(cat stderr.txt)"
[ "$(size_of tiny.cas.wav)" = 542348 ] || fail "size at 1200 baud: $(size_of tiny.cas.wav)"

# Failures exit non-zero, say why, and leave the existing output as it was.
for input in notes.txt missing.cas; do
    if convert "$input" tiny.cas.wav; then
        fail "$input was accepted"
    fi
    [ -s stderr.txt ] || fail "no message for $input"
    [ "$(size_of tiny.cas.wav)" = 542348 ] || fail "$input changed the existing output"
done
# The tape image named as its own output, however spelt, is refused and left as it was.
cp tiny.cas tiny.before
for same in tiny.cas ./tiny.cas "$(pwd)/tiny.cas"; do
    if convert tiny.cas "$same"; then
        fail "the input as output ($same) was accepted"
    fi
    cmp -s tiny.cas tiny.before || fail "converting onto $same changed the tape image"
done
rm -f tiny.before
if convert tiny.cas; then
    fail "a missing output path was accepted"
fi
if convert tiny.cas nofolder/tiny.wav; then
    fail "an output in a missing folder was accepted"
fi
leftovers=$(ls | grep -v -x -e tiny.cas -e tiny.cas.wav -e notes.txt -e stderr.txt)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"

wine_test_end cas2wav
