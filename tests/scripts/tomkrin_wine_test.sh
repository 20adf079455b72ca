#!/bin/sh
# Runs the Windows tomkrin.exe under Wine on a small game tape made here: the directory, an
# extraction and insertion round trip, a picture and the level it carries, refusals (of a short
# level file, a picture without a level, a read-only output, and of the slots of a tape that is not
# the game's), the exit statuses, and where the program has them, Tiled maps exported and imported
# back.
#   tomkrin_wine_test.sh TOMKRIN_EXE WINE_RUN_SCRIPT WORK_DIRECTORY
set -u
exe="$1"
. "$(dirname "$0")/winetest.sh"
wine_test_start "$@"
tomkrin() { sh "$wine_run" "$exe" "$@" >stdout.txt 2>stderr.txt; }

# A binary file header, then a data block that reaches past the 20 standard levels (the bytes
# from 23438 + 486 x 20 = 33158 on): 33,200 bytes in all. Each level is air with a title, four
# unused monsters and the man's start. prog.cas, all blanks after the header, is another
# program's tape: its slots hold no level (monster colours of 0x20).
marker='\037\246\336\272\314\023\175\164'
blanks() { head -c "$1" /dev/zero | tr '\000' ' '; }
printf "$marker\320\320\320\320\320\320\320\320\320\320TKGAME$marker\000\200\377\357\000\200" >header.bin
cp header.bin prog.cas
blanks $((33200 - 38)) >>prog.cas
{
    cat header.bin
    blanks $((23438 - 38))
    for n in 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19; do
        blanks 432
        printf '       WINE LEVEL       '
        head -c 28 /dev/zero | tr '\000' '\377'
        printf '\040\200'
    done
    blanks 42
} >game.cas
rm header.bin
[ "$(wc -c <game.cas | tr -d ' ')" = 33200 ] || fail "game.cas is $(wc -c <game.cas) bytes"

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

# Another program's tape: no slot table, its slots refused without --force, taken with it.
tomkrin info prog.cas || fail "info prog.cas: $(cat stderr.txt)"
grep -q "^not the game's tape: none of its 20 level slots holds a level" stdout.txt ||
    fail "info prog.cas: $(cat stdout.txt)"
grep -q '^level ' stdout.txt && fail "info prog.cas listed its slots: $(cat stdout.txt)"
tomkrin extract prog.cas 7 -o x.bin
[ $? = 1 ] || fail "a slot of prog.cas was not refused with status 1"
[ -e x.bin ] && fail "the refused extraction wrote x.bin"
grep -q "^tomkrin: prog.cas: not the game's tape" stderr.txt || fail "refusal said $(cat stderr.txt)"
tomkrin extract prog.cas 7 -o x.bin --force || fail "extract --force: $(cat stderr.txt)"

# Tiled maps: export and import give the level file back, in both formats, and a map is a LEVEL
# for insert.
maps="-e level7.tmx -e level7.json -e tomkrin-blocks.tsx -e tomkrin-blocks.png -e back.bin"
for map in level7.tmx level7.json; do
    tomkrin export level7.bin -o "$map" || fail "export $map: $(cat stderr.txt)"
    tomkrin import "$map" -o back.bin || fail "import $map: $(cat stderr.txt)"
    cmp -s level7.bin back.bin || fail "$map did not import back to level7.bin"
done
tomkrin insert level7.tmx game.cas 7 -o copy.cas || fail "insert of a map: $(cat stderr.txt)"
cmp -s game.cas copy.cas || fail "inserting the map changed the tape"

# A level's picture carries its level; a picture without one is no level file; a read-only tape
# is never replaced, the system saying why.
tomkrin insert level7.png game.cas 7 -o copy.cas || fail "insert of a level's picture: $(cat stderr.txt)"
cmp -s game.cas copy.cas || fail "inserting the level's picture changed the tape"
tomkrin insert tomkrin-blocks.png game.cas 7 -o x.cas
[ $? = 1 ] || fail "a picture without a level was not refused with status 1"
grep -q '^tomkrin: tomkrin-blocks.png: not a level file: it is a PNG picture' stderr.txt ||
    fail "refusal said $(cat stderr.txt)"
chmod a-w copy.cas
tomkrin insert level7.bin game.cas 6 -o copy.cas
[ $? = 1 ] || fail "a read-only output was not refused with status 1"
grep -q '^tomkrin: copy.cas: cannot write it: Permission denied' stderr.txt ||
    fail "refusal said $(cat stderr.txt)"
chmod u+w copy.cas

# shellcheck disable=SC2086
leftovers=$(ls | grep -v -x -e game.cas -e copy.cas -e level7.bin -e level7.png -e short.bin \
    -e prog.cas -e x.bin -e stdout.txt -e stderr.txt $maps)
[ -z "$leftovers" ] || fail "files left behind: $leftovers"

wine_test_end tomkrin
