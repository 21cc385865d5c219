#!/usr/bin/env bash
# Draws the widget suite's bitmaps into OUTDIR and writes widgets.rc naming them:
#   16546  the dock button's built-in pictures: eight 13 x 14 cells in 16 colours on olive, which the
#          button takes as transparent (its bottom-left pixel): ellipsis, file, folder, calculator,
#          calendar, search, colour, font
# Needs ImageMagick (convert).
#   draw_resources.sh OUTDIR
set -euo pipefail
out=${1:?OUTDIR}
mkdir -p "$out"

# Each cell is drawn at its own x offset: cell N starts at N * 13.
cell() { echo "translate $(($1 * 13)),0"; }

convert +antialias -size 104x14 xc:'#808000' \
  -stroke none -fill black \
  -draw "$(cell 0) rectangle 2,10 3,11" -draw "$(cell 0) rectangle 6,10 7,11" -draw "$(cell 0) rectangle 10,10 11,11" \
  -fill white -stroke black -draw "$(cell 1) polygon 2,1 8,1 11,4 11,13 2,13" \
  -fill none -draw "$(cell 1) polyline 8,1 8,4 11,4" \
  -fill '#808080' -stroke black -draw "$(cell 2) polygon 0,4 1,3 4,3 5,4 11,4 11,6 3,6 0,12" \
  -fill '#FFFF00' -draw "$(cell 2) polygon 0,12 3,6 12,6 10,12" \
  -fill '#C0C0C0' -stroke black -draw "$(cell 3) rectangle 1,0 11,13" \
  -fill '#008000' -stroke none -draw "$(cell 3) rectangle 3,2 9,4" \
  -fill black -draw "$(cell 3) rectangle 3,7 4,8" -draw "$(cell 3) rectangle 6,7 7,8" \
  -draw "$(cell 3) rectangle 3,10 4,11" -draw "$(cell 3) rectangle 6,10 7,11" -fill '#FF0000' -draw "$(cell 3) rectangle 9,7 9,11" \
  -fill white -stroke black -draw "$(cell 4) rectangle 0,2 12,13" \
  -fill '#FF0000' -stroke none -draw "$(cell 4) rectangle 1,3 11,5" \
  -fill black -draw "$(cell 4) rectangle 3,0 3,3" -draw "$(cell 4) rectangle 9,0 9,3" \
  -draw "$(cell 4) point 3,8" -draw "$(cell 4) point 6,8" -draw "$(cell 4) point 9,8" -draw "$(cell 4) point 3,11" -draw "$(cell 4) point 6,11" \
  -fill '#00FFFF' -stroke black -draw "$(cell 5) circle 5,5 5,1" \
  -stroke black -strokewidth 2 -draw "$(cell 5) line 8,8 11,12" -strokewidth 1 \
  -stroke none -fill '#FF0000' -draw "$(cell 6) rectangle 1,1 5,5" -fill '#00FF00' -draw "$(cell 6) rectangle 7,1 11,5" \
  -fill '#0000FF' -draw "$(cell 6) rectangle 1,8 5,12" -fill '#FFFF00' -draw "$(cell 6) rectangle 7,8 11,12" \
  -fill none -stroke black -draw "$(cell 7) polyline 1,13 5,1 6,1 10,13" -draw "$(cell 7) line 3,9 8,9" \
  -colors 16 -type Palette BMP3:"$out/dockglyphs.bmp"

cat >"$out/widgets.rc" <<RC
16546 BITMAP "$out/dockglyphs.bmp"
RC
