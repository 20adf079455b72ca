#!/bin/sh
# Draws the program icon (a brick wall with a golden key) into res/tomkrin.ico. Needs ImageMagick.
set -e
cd "$(dirname "$0")/.."
tmp=$(mktemp -d)
convert -size 32x32 xc:'#D4524D' \
    -stroke '#CCCCCC' -strokewidth 1 \
    -draw 'line 0,7 31,7' -draw 'line 0,15 31,15' -draw 'line 0,23 31,23' -draw 'line 0,31 31,31' \
    -draw 'line 7,0 7,7' -draw 'line 23,0 23,7' -draw 'line 15,8 15,15' -draw 'line 31,8 31,15' \
    -draw 'line 7,16 7,23' -draw 'line 23,16 23,23' -draw 'line 15,24 15,31' \
    -stroke '#000000' -fill '#E6CE80' -draw 'circle 10,16 15,16' \
    -fill '#D4524D' -draw 'circle 10,16 12,16' \
    -fill '#E6CE80' -draw 'rectangle 15,14 29,18' -draw 'rectangle 24,18 26,23' -draw 'rectangle 20,18 22,22' \
    "$tmp/icon32.png"
convert "$tmp/icon32.png" -resize 16x16 "$tmp/icon16.png"
convert "$tmp/icon16.png" "$tmp/icon32.png" -colors 256 res/tomkrin.ico
rm -rf "$tmp"
