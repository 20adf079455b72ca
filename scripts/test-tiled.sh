#!/bin/sh
# Tiled itself judges the maps `tomkrin export` writes: for levels of the demonstration tape that
# together hold every block code, monster type, colour and direction, unused monster slot and title
# letter of its twenty levels, and a level of odd bytes (codes no block has, unprintable title
# bytes), Tiled (headless) loads
# the exported .tmx and .json maps and saves each again as .tmx and as .json; every one of those
# imports back to the level file byte for byte. And tmxrasterizer's picture of the `cells` layer
# equals the grid of `tomkrin render` pixel for pixel (the render without monsters, whose paths it
# draws on the grid; empty tiles on white, as the render shows code 0).
# Uses the tree given (default build/native: tomkrin, mkdemotape); works in build/tiled-judge. Exits non-zero on a fault.
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
bin=${1:-$TK_ROOT/build/native}
work="$TK_ROOT/build/tiled-judge"
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$work/runtime"

for program in tiled tmxrasterizer compare convert; do
    command -v $program >/dev/null 2>&1 ||
        { echo "test-tiled: $program not found (scripts/deps.sh installs it)"; exit 1; }
done
[ -x "$bin/tomkrin" ] && [ -x "$bin/mkdemotape" ] ||
    { echo "test-tiled: build build/native first (tomkrin, mkdemotape)"; exit 1; }
rm -rf "$work" && mkdir -p "$work/maps" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
cd "$work" || exit 1

. "$TK_ROOT/scripts/checks.sh"
tomkrin() { "$bin/tomkrin" "$@" || fail "tomkrin $*"; }
# Tiled prints nothing on success; whatever it says about a map is shown.
resave() { # map new-map
    tiled --export-map "$1" "$2" >tiled.log 2>&1 && [ -s "$2" ] ||
        { fail "Tiled could not load $1 and save it as $2"; sed 's/^/    /' tiled.log; }
}

"$bin/mkdemotape" demo.cas || exit 1
for n in 0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19; do
    tomkrin extract demo.cas "$n" -o "level$n.bin"
done
# The tape's levels differ otherwise only in numbers that every map carries alike (where a level
# loads, where the man and the monsters stand), so these few stand for all twenty; the tape's
# levels are read first, and a tape whose levels hold something these do not fails here.
chosen="0 1 3 6 7 8 10 13 19"
kinds() { # level files...: each block code, monster type, colour and direction, unused monster
    # slot and title letter they hold, one a line
    for file in "$@"; do "$bin/tomkrin" info "$file" || echo "unread $file"; done | awk '
        /^unread / { print }
        /^ *[0-9]+ +0x[0-9A-F][0-9A-F] / { print "block code " $2 }
        /^monster [0-9] unused/ { print "unused monster " $2 }
        /^monster [0-9] type/ {
            for (i = 3; i < NF; i++)
                if ($i == "type" || $i == "colour" || $i == "direction") print "monster " $i " " $(i + 1)
        }
        /^title / {
            t = $0
            sub(/^title *"/, "", t)
            sub(/"$/, "", t)
            for (i = 1; i <= length(t); i++) print "title letter " substr(t, i, 1)
        }' | LC_ALL=C sort -u
}
kinds level*.bin >tape.kinds
levels=""
for n in $chosen; do levels="$levels level$n"; done
kinds $(for level in $levels; do echo "$level.bin"; done) >judged.kinds
missing=$(LC_ALL=C comm -23 tape.kinds judged.kinds | tr "\n" ";" | sed "s/;$//")
[ -z "$missing" ] ||
    fail "the levels judged ($chosen) lack what other levels of the tape hold: $missing"
# 0xFE, then every byte different from its neighbours.
LC_ALL=C awk 'BEGIN { printf "%c", 254; for (i = 1; i < 493; i++) printf "%c", (i * 37 + 11) % 256 }' \
    >odd.bin
levels="$levels odd"

judged=0
for level in $levels; do
    for format in tmx json; do
        map="maps/$level.$format"
        tomkrin export "$level.bin" -o "$map"
        for again in tmx json; do
            resave "$map" "maps/$level-$format-again.$again"
            tomkrin import "maps/$level-$format-again.$again" -o "$level-$format-$again.bin"
            cmp -s "$level.bin" "$level-$format-$again.bin" ||
                fail "$map saved again by Tiled as .$again does not import to $level.bin"
            judged=$((judged + 1))
        done
    done
done
[ $failures -eq 0 ] &&
    echo "ok:   Tiled loaded $judged exported maps and saved them again; each imports byte for byte"

# Pictures: the level with its monsters unused (type 0xFF at bytes 468 + 7 k) renders the grid alone.
pictures=0
for level in $(echo "$levels" | sed 's/ odd//'); do
    cp "$level.bin" bare.bin
    for k in 0 1 2 3; do
        printf '\377' | dd of=bare.bin bs=1 seek=$((468 + 7 * k)) conv=notrunc 2>/dev/null
    done
    tomkrin render bare.bin -o render.png
    convert render.png -crop 384x288+0+0 +repage grid.png
    for format in tmx json; do
        tmxrasterizer --hide-layer monsters "maps/$level.$format" drawn.png >tiled.log 2>&1 ||
            { fail "tmxrasterizer could not draw maps/$level.$format"; continue; }
        convert drawn.png -background white -flatten -alpha off flat.png
        differing=$(compare -metric AE flat.png grid.png null: 2>&1)
        [ "$differing" = 0 ] ||
            fail "Tiled's picture of maps/$level.$format differs from tomkrin render in $differing pixels"
        pictures=$((pictures + 1))
    done
done
[ $failures -eq 0 ] && echo "ok:   $pictures pictures drawn by tmxrasterizer equal tomkrin render's grid"
[ $failures -eq 0 ]
