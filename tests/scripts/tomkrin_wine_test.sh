#!/bin/sh
# Runs the Windows tomkrin.exe under Wine on a small game tape made here: the directory, an
# extraction and insertion round trip, a picture, a refusal, and the exit statuses.
#   tomkrin_wine_test.sh TOMKRIN_EXE WINE_RUN_SCRIPT WORK_DIRECTORY
set -u
exe="$1"
. "$(dirname "$0")/winetest.sh"
wine_test_start "$@"
tomkrin() { sh "$wine_run" "$exe" "$@" >stdout.txt 2>stderr.txt; }

# A binary file header, then a data block that reaches past the 20 standard levels (the bytes
# from 23438 + 486 x 20 = 33158 on): 33,200 bytes in all.
marker='\037\246\336\272\314\023\175\164'
printf "$marker\320\320\320\320\320\320\320\320\320\320TKGAME$marker\000\200\377\357\000\200" >game.cas
head -c $((33200 - 40)) /dev/zero | tr '\000' ' ' >>game.cas

tomkrin --version || fail "--version: $(cat stderr.txt)"
grep -q '^tomkrin 2\.2' stdout.txt || fail "--version printed $(cat stdout.txt)"
tomkrin info game.cas || fail "info: $(cat stderr.txt)"
grep -q 'binary  "TKGAME" 0x8000  0xEFFF  0x8000' stdout.txt || fail "info: $(cat stdout.txt)"

tomkrin extract game.cas 7 -o level7.bin || fail "extract: $(cat stderr.txt)"
[ "$(wc -c <level7.bin | tr -d ' ')" = 493 ] || fail "the level file is not 493 bytes"
tomkrin insert level7.bin game.cas 7 -o copy.cas || fail "insert: $(cat stderr.txt)"
cmp -s game.cas copy.cas || fail "extract and insert changed the tape"
tomkrin render game.cas:7 -o level7.png --scale 2 || fail "render: $(cat stderr.txt)"
[ "$(head -c 4 level7.png | tail -c 3)" = PNG ] || fail "render wrote no PNG"

# A refused insertion: one line naming the file, exit status 1, the tape unchanged.
head -c 100 level7.bin >short.bin
tomkrin insert short.bin game.cas 0
[ $? = 1 ] || fail "a short level file was not refused with status 1"
grep -q '^tomkrin: short.bin: too short' stderr.txt || fail "refusal said $(cat stderr.txt)"
cmp -s game.cas copy.cas || fail "the refused insertion changed the tape"
tomkrin extract game.cas 20 -o x.bin
[ $? = 2 ] || fail "level 20 was not a usage error"

leftovers=$(ls | grep -v -x -e game.cas -e copy.cas -e level7.bin -e level7.png -e short.bin \
    -e stdout.txt -e stderr.txt)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"

wine_test_end tomkrin
