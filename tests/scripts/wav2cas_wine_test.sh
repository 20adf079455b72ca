#!/bin/sh
# Runs the Windows wav2cas.exe under Wine on a recording that cas2wav.exe makes of a small tape
# image, as .wav and as .flac (made by Debian's flac): the decoded image must equal the original
# byte for byte.
#   wav2cas_wine_test.sh WAV2CAS_EXE CAS2WAV_EXE WINE_RUN_SCRIPT WORK_DIRECTORY
set -u
wav2cas="$1"
cas2wav="$2"
. "$(dirname "$0")/winetest.sh"
wine_test_start "$@"

marker='\037\246\336\272\314\023\175\164'
# A binary file: a header block (ten 0xD0 bytes and a six-letter name), then a data block of
# eight bytes: load 0xC000, end 0xC001, exec 0xC000 and the two bytes from load to end.
printf "$marker\320\320\320\320\320\320\320\320\320\320TOMKRN$marker\000\300\001\300\000\300\001\002" >tiny.cas

for speed in "" -2; do
    sh "$wine_run" "$cas2wav" tiny.cas tiny.wav $speed 2>stderr.txt ||
        fail "cas2wav.exe $speed: $(cat stderr.txt)"
    sh "$wine_run" "$wav2cas" tiny.wav back.cas >report.txt 2>stderr.txt ||
        fail "wav2cas.exe on the recording made with '$speed': $(cat stderr.txt)"
    cmp -s tiny.cas back.cas || fail "the image decoded from the recording made with '$speed' differs"
    grep -q 'header of binary file "TOMKRN"' report.txt || fail "no header line in: $(cat report.txt)"
    rm -f back.cas
    flac -s -f -o tiny.flac tiny.wav || fail "flac could not encode the recording made with '$speed'"
    sh "$wine_run" "$wav2cas" tiny.flac back.cas >report.txt 2>stderr.txt ||
        fail "wav2cas.exe on the FLAC recording made with '$speed': $(cat stderr.txt)"
    cmp -s tiny.cas back.cas || fail "the image decoded from the FLAC made with '$speed' differs"
    rm -f back.cas
done

# The recording named as its own output, however spelt, is refused and left as it was.
cp tiny.wav tiny.before
if sh "$wine_run" "$wav2cas" tiny.wav ./tiny.wav 2>stderr.txt; then
    fail "the input as output was accepted"
fi
grep -q 'wav2cas: ' stderr.txt || fail "no message for the input as output"
cmp -s tiny.wav tiny.before || fail "decoding onto the input changed it"

wine_test_end wav2cas
