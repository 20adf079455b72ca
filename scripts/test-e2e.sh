#!/bin/sh
# The packaged editor worked as a person works it, with real X input events (xdotool) under
# Xvfb and Wine: Ctrl+B opens the palette, a click on its Key button selects the key, a left
# click paints cell (2,4), a right click at cell (6,1) paints the line towards it, a drag with
# both buttons held paints a stroke without gaps, the menu opens Tools > Level options, a
# typed title is saved there, Ctrl+S and the save dialog write the level file. Then the file
# is checked byte by byte, and screenshots are checked pixel by pixel against the key's bitmap.
# Prints one line per check and exits non-zero on any failure. Screenshots stay in
# build/<tree>/e2e/.
# Usage: test-e2e.sh [windows tree]   (default: the one this machine runs, win32 or win64)
# TK_E2E_BUILD may name another build tree of the same kind (default build/<tree>).
TK_ROOT=${TK_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
. "$TK_ROOT/scripts/wine-env.sh"
tree=${1:-$(tk_runnable_windows_tree)}
build=${TK_E2E_BUILD:-$TK_ROOT/build/$tree}
. "$TK_ROOT/scripts/xvfb.sh"

. "$TK_ROOT/scripts/checks.sh"
# A step that the rest depends on went wrong: stop here (the trap cleans up).
abort() {
    fail "$*"
    echo "e2e: stopped early, $failures failed"
    exit 1
}

title="KEYS ON A LINE"    # what the user types as the level's title
level_name="e2e.bin"      # what the user types into the save dialog
clicked="2,4 3,4 3,3 4,3 4,2 5,2" # the left-clicked cell and the line towards cell (6,1)
# A drag from cell (10,10) to cell (16,13) in one pointer move with both buttons held: the line
# from the anchor to the new position, then the position itself.
dragged="10,10 11,10 12,11 13,11 14,12 15,12 16,13"
painted="$clicked $dragged"
cell=16                   # cell edge in screen pixels

shots="$build/e2e"
rm -rf "$shots"
mkdir -p "$shots"
work=$(mktemp -d)
editor="" prefix=""
cleanup() {
    [ -n "$prefix" ] && WINEPREFIX="$prefix" wineserver -k 2>/dev/null
    [ -n "$editor" ] && kill "$editor" 2>/dev/null
    rm -rf "$work"
    tk_stop_xvfb
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cmake --build "$build" --target package >"$build.package.log" 2>&1 ||
    { cat "$build.package.log"; abort "the package did not build"; }
zip=$(ls "$build"/TomkrinEditor-*-win*.zip 2>/dev/null | head -1)
[ -n "$zip" ] || abort "no release zip in $build"
unzip -q "$zip" -d "$work/unzipped" || abort "cannot unzip $zip"
folder=$(ls -d "$work"/unzipped/TomkrinEditor-*)
# A prefix of its own whose windows are left to a window manager, as on a user's desktop; the
# geometry below relies on that (with no manager running, the X window is the client area and the
# menu bar, without a frame).
tk_wine_env "$build/wineprefix-e2e" "$folder/TomkrinEditor.exe" managed
prefix=$WINEPREFIX
tk_start_xvfb

# --- Screen helpers -------------------------------------------------------------------------

# shot NAME: a screenshot of the whole screen, kept as $shots/NAME.png.
shot() { import -window root "$shots/$1.png"; }

# rgb_at PNG X Y: the colour of one pixel as "R G B".
rgb_at() { convert "$1" -crop "1x1+$2+$3" +repage -depth 8 rgb:- | od -An -tu1 | awk '{print $1, $2, $3}'; }

# find_image PNG X Y W H NEEDLE: where NEEDLE appears exactly (every pixel equal) inside the
# W by H area of PNG at X,Y; prints its screen position "X Y", or fails.
find_image() {
    convert "$1" -crop "${4}x${5}+$2+$3" +repage "$work/area.png"
    found=$(compare -metric AE -subimage-search "$work/area.png" "$6" null: 2>&1)
    case $found in
    "0 "*@*) ;;
    *) return 1 ;;
    esac
    at=${found##*@ }
    echo "$(($2 + ${at%%,*})) $(($3 + ${at#*,}))"
}

# geometry WINDOW: sets X, Y, WIDTH, HEIGHT of an X window.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }

# visible_window NAME-REGEX [SECONDS]: the id of a visible window of that name, waited for.
visible_window() {
    timeout "${2:-15}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -1
}

# click BUTTON X Y: a real pointer move and click at screen position X,Y.
click() {
    xdotool mousemove --sync "$2" "$3"
    xdotool click "$1"
}

# Cells of the canvas on the screen, once the client origin (ox, oy) is known.
cell_x() { echo $((ox + $1 * cell)); }
cell_y() { echo $((oy + $1 * cell)); }

# cell_is_key PNG COL ROW: the 16x16 pixels of that cell equal the key's bitmap.
cell_is_key() {
    convert "$1" -crop "${cell}x${cell}+$(cell_x "$2")+$(cell_y "$3")" +repage -depth 8 rgb:- |
        cmp -s - "$work/key.rgb"
}

# canvas_faults PNG CELLS: compares every cell that no tool window covers with what it should
# show (the key at the CELLS, "col,row ...", plain background elsewhere), by each cell's average
# colour, and the CELLS pixel by pixel. Prints the cells that differ; nothing when all agree.
canvas_faults() {
    for c in $2; do
        cell_is_key "$1" "${c%,*}" "${c#*,}" || echo "($c) is not the key"
    done
    convert "$1" -crop "$((24 * cell))x$((rows * cell))+$ox+$oy" +repage -scale "24x${rows}!" \
        -depth 8 rgb:- | od -An -v -tu1 -w3 |
        awk -v painted=" $2 " -v key="$key_mean" -v bg="$background" -v rows="$rows" '{
            col = (NR - 1) % 24; row = int((NR - 1) / 24); seen = $1 " " $2 " " $3
            want = index(painted, " " col "," row " ") ? key : bg
            if (seen != want) printf "(%d,%d) shows %s, not %s\n", col, row, seen, want
        } END { if (NR != 24 * rows) print "read " NR " cells of the screenshot, not " 24 * rows }'
}

# wait_canvas PNG-NAME SECONDS CELLS: takes screenshots until the canvas shows the key at the
# CELLS and nothing elsewhere.
wait_canvas() {
    deadline=$(($(date +%s) + $2))
    while :; do
        shot "$1"
        faults=$(canvas_faults "$shots/$1.png" "$3")
        [ -z "$faults" ] && return 0
        [ "$(date +%s)" -ge "$deadline" ] && { echo "$faults" | head -8 | sed 's/^/      /'; return 1; }
        sleep 0.5
    done
}

convert "$TK_ROOT/res/blocks/b407.bmp" "$work/key.png"
convert "$work/key.png" -depth 8 rgb:- >"$work/key.rgb"
key_mean=$(convert "$work/key.png" -scale '1x1!' -depth 8 rgb:- | od -An -tu1 | awk '{print $1, $2, $3}')

# --- The session ----------------------------------------------------------------------------

cd "$folder" || abort "no unzipped folder"
"$TK_WINE" TomkrinEditor.exe >"$work/editor.log" 2>&1 &
editor=$!
main=$(visible_window '^TomkrinEditor$' 60)
[ -n "$main" ] || abort "the packaged editor shows no main window"
pass "the packaged editor shows its main window"
# Without a window manager the X window holds the menu bar and the client area, not the frame.
geometry "$main"
main_x=$X main_y=$Y
sleep 1
shot 01-started

# The editor may still be getting the focus when its window appears: press again if needed.
palette=""
for _ in 1 2 3; do
    xdotool windowfocus --sync "$main" key ctrl+b
    palette=$(visible_window '^Blocks$' 5) && [ -n "$palette" ] && break
done
[ -n "$palette" ] || abort "Ctrl+B opened no Blocks palette"
pass "Ctrl+B opens the Blocks palette"
geometry "$palette"
palette_x=$X palette_y=$Y palette_w=$WIDTH palette_h=$HEIGHT

# The buttons get their bitmaps just after the window appears: look for the key until it shows.
key_at=""
for _ in $(seq 1 20); do
    shot 02-palette
    key_at=$(find_image "$shots/02-palette.png" "$palette_x" "$palette_y" "$palette_w" "$palette_h" \
        "$work/key.png") && break
    sleep 0.5
done
[ -n "$key_at" ] || abort "the palette shows no button with the key's bitmap"
pass "the palette shows the Key button at screen ${key_at% *},${key_at#* }"
click 1 $((${key_at% *} + cell / 2)) $((${key_at#* } + cell / 2))

# Left click in the middle of cell (2,4): client pixel (40,72). The menu bar is about 19
# pixels high; the middle of the cell leaves room for a few pixels either way, and the key
# that the click paints then gives the exact client origin.
click 1 $((main_x + 40)) $((main_y + 19 + 72))
origin=""
for _ in $(seq 1 10); do
    shot 03-left-click
    origin=$(find_image "$shots/03-left-click.png" $((main_x + 16)) $((main_y + 64)) 48 64 \
        "$work/key.png") && break
    sleep 0.5
done
[ -n "$origin" ] || abort "a left click at cell (2,4) after choosing Key painted no key there"
ox=$((${origin% *} - 2 * cell)) oy=$((${origin#* } - 4 * cell))
[ "$ox" -eq "$main_x" ] || abort "the key landed $((ox - main_x)) pixels off the client's left edge"
pass "a left click on cell (2,4) paints the key there (client origin at screen $ox,$oy)"
# The canvas's own colour, from a cell far from every cell that the session paints.
background=$(rgb_at "$shots/03-left-click.png" $((ox + 300)) $((oy + 200)))

# Only rows that no tool window covers are compared (the palette's frame may overlap row 17).
rows=$(((palette_y - oy) / cell))
[ "$rows" -gt 18 ] && rows=18
[ "$rows" -ge 14 ] || abort "the palette covers the canvas from row $rows on"

# Right click at client pixel (100,20), cell (6,1): the line from the anchor (2,4) towards it.
click 3 $((ox + 100)) $((oy + 20))
if wait_canvas 04-right-click 5 "$clicked"; then
    pass "a right click at cell (6,1) paints (2,4) (3,4) (3,3) (4,3) (4,2) (5,2) and nothing else"
else
    fail "the canvas after the right click at cell (6,1) is not as expected (above)"
fi

# Both buttons held and one jump of the pointer: each reported position draws the line from
# the anchor and then becomes the anchor, so the stroke has no gaps.
xdotool mousemove --sync "$(($(cell_x 10) + 8))" "$(($(cell_y 10) + 8))" mousedown 1 mousedown 3
xdotool mousemove --sync "$(($(cell_x 16) + 8))" "$(($(cell_y 13) + 8))"
xdotool mouseup 3 mouseup 1
if wait_canvas 05-drag 5 "$painted"; then
    pass "a drag with both buttons from cell (10,10) to (16,13) paints the whole stroke"
else
    fail "the canvas after a drag with both buttons from (10,10) to (16,13) is not as expected (above)"
fi

# Tools > Level options with the mouse: the menu bar's second title, then the popup's second
# of its three items. The titles are found as the runs of dark pixels along the menu bar.
tools=$(convert "$shots/05-drag.png" -crop "384x$((oy - main_y))+$main_x+$main_y" +repage \
    -colorspace gray -scale "384x1!" -depth 8 gray:- | od -An -v -tu1 -w1 |
    awk '$1 < 200 { x = NR - 1; if (n == 0 || x - last > 6) { n++; first[n] = x }; last = x; end[n] = x }
         END { if (n >= 2) print int((first[2] + end[2]) / 2) }')
[ -n "$tools" ] || abort "no second title (Tools) found in the menu bar"
click 1 $((main_x + tools)) $((main_y + (oy - main_y) / 2))
popup=""
for _ in $(seq 1 20); do
    for w in $(xdotool search --onlyvisible --classname 'tomkrineditor.exe' 2>/dev/null); do
        [ -z "$(xdotool getwindowname "$w")" ] || continue
        geometry "$w"
        [ "$WIDTH" -gt 50 ] && [ "$HEIGHT" -gt 30 ] && popup=$w && break
    done
    [ -n "$popup" ] && break
    sleep 0.25
done
[ -n "$popup" ] || abort "clicking Tools in the menu bar opened no menu"
shot 06-tools-menu
geometry "$popup"
click 1 $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
options=$(visible_window '^Level options$' 15)
[ -n "$options" ] || abort "Tools > Level options (by mouse) opened no Level options window"
pass "Tools > Level options, chosen with the mouse, opens the Level options window"

# Controls are placed in dialog units (164 by 120 for this window); the window's dialog frame
# is 3 pixels on each side, and its client area ends 3 pixels above its lower edge.
geometry "$options"
scale=$(((WIDTH - 6) * 1000 / 164))
dlg_x=$((X + 3)) dlg_y=$((Y + HEIGHT - 3 - 120 * scale / 1000))
du_x() { echo $((dlg_x + $1 * scale / 1000)); }
du_y() { echo $((dlg_y + $1 * scale / 1000)); }
sleep 0.5
shot 07-level-options
# The title box spans 4..160 by 20..32 dialog units; its middle must be an edit's white.
[ "$(rgb_at "$shots/07-level-options.png" "$(du_x 82)" "$(du_y 26)")" = "255 255 255" ] ||
    abort "no title box where the Level options window should have it"
click 1 "$(du_x 82)" "$(du_y 26)"
xdotool type --delay 40 "$title"
click 1 "$(du_x 142)" "$(du_y 110)" # "Save", 124..160 by 104..116
sleep 0.5
shot 08-title-saved

# Back to the main window: a click on the anchor cell, which holds the key already, gives it
# the keyboard focus (without a window manager, Wine activates a window on a click, not on an
# X focus change) and leaves the level as it is.
click 1 "$(($(cell_x 2) + cell / 2))" "$(($(cell_y 4) + cell / 2))"
sleep 0.5
xdotool key ctrl+s
dialog=$(visible_window '^Save Tomkrin Level$' 20)
[ -n "$dialog" ] || abort "Ctrl+S in the main window opened no \"Save Tomkrin Level\" dialog"
pass "Ctrl+S in the main window opens the \"Save Tomkrin Level\" dialog"
sleep 1
shot 09-save-dialog
xdotool type --delay 40 "$level_name"
xdotool key Return
saved="$folder/$level_name"
for _ in $(seq 1 40); do
    [ -f "$saved" ] && [ "$(wc -c <"$saved")" -eq 493 ] &&
        [ -z "$(xdotool search --onlyvisible --name '^Save Tomkrin Level$' 2>/dev/null)" ] && break
    sleep 0.25
done
[ -f "$saved" ] || abort "typing $level_name and Enter in the save dialog wrote no file"
size=$(wc -c <"$saved")
if [ "$size" -eq 493 ]; then
    pass "the save dialog wrote $level_name, 493 bytes"
else
    fail "$level_name holds $size bytes, not 493"
fi

# --- The level file, byte by byte -----------------------------------------------------------

od -An -v -tu1 -w1 "$saved" | awk -v painted=" $painted " -v title="$title" '
    { b[NR - 1] = $1 + 0 }
    function word(at) { return b[at] + 256 * b[at + 1] }
    function report(ok, what, detail) { print (ok ? "ok:   " : "FAIL: ") what (ok ? "" : ":" detail) }
    # Collects the wrong values of one check; faults_found lists the first 8 and their number.
    function wrong(text) { if (++bad <= 8) faults = faults " " text }
    function faults_found(found) {
        found = faults (bad > 8 ? " ... (" bad " in all)" : "")
        bad = 0; faults = ""
        return found
    }
    END {
        report(b[0] == 254 && word(1) == 0 && word(3) == 446 && word(5) == 0,
            "header 0xFE, start 0x0000, end 0x01BE, exec 0x0000, as the level options saved them",
            sprintf(" 0x%02X, start 0x%04X, end 0x%04X, exec 0x%04X", b[0], word(1), word(3), word(5)))
        for (row = 0; row < 18; row++)
            for (col = 0; col < 24; col++) {
                want = index(painted, " " col "," row " ") ? 45 : 0
                at = 7 + 24 * row + col
                if (b[at] != want) wrong(sprintf("(%d,%d)=0x%02X", col, row, b[at]))
            }
        found = faults_found()
        report(found == "", "cells row by row: 0x2D (Key) at the " split(painted, all, " ") \
            " painted cells, 0 elsewhere", found)
        want = sprintf("%-24s", title); got = ""
        for (i = 0; i < 24; i++) got = got sprintf("%c", b[439 + i])
        report(got == want, "title at offset 439: \"" title "\" filled up with spaces to 24",
            " \"" got "\"")
        for (at = 463; at < 493; at++) if (b[at] != 0) wrong(sprintf("%d=0x%02X", at, b[at]))
        found = faults_found()
        report(found == "", "monsters and man start (offsets 463-492) all 0, as after a fresh start", found)
    }' >"$work/file-checks"
cat "$work/file-checks"
failures=$((failures + $(grep -c '^FAIL' "$work/file-checks")))

# --- The canvas after the dialog -----------------------------------------------------------

# The save dialog covered the canvas; when it closes the main window gets the focus back and
# must redraw the level from the record.
if wait_canvas 10-saved 10 "$painted"; then
    pass "after the save dialog closes the canvas shows every key again, and nothing else"
else
    fail "the canvas after saving is not as expected (above)"
fi

xdotool key ctrl+x
for _ in $(seq 1 60); do kill -0 "$editor" 2>/dev/null || break; sleep 0.25; done
if kill -0 "$editor" 2>/dev/null; then
    fail "Ctrl+X did not close the editor after the session"
else
    if wait "$editor"; then
        pass "Ctrl+X closes the editor with exit code 0"
    else
        fail "the editor ended with exit code $?"
    fi
    editor=""
fi

echo "e2e: $failures failed (screenshots in $shots)"
[ "$failures" -eq 0 ]
