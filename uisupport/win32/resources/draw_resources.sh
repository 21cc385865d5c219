#!/usr/bin/env bash
# Draws the UI support components' bitmaps and cursor into OUTDIR and writes uisupport.rc naming them:
#   HELPBUTTONGLYPH  the help-mode button's glyph: two 16 x 16 cells (up, disabled), an arrow with a
#                    question mark on fuchsia, which the button takes as transparent
#   HELPMODECURSOR   the help-mode cursor: the arrow with a question mark beside it, hot spot at its tip
#   FEDITBMP         the file and folder edits' button glyph, 14 x 12: an open folder on fuchsia
# Needs ImageMagick (convert) and icoutils (icotool).
#   draw_resources.sh OUTDIR
set -euo pipefail
out=${1:?OUTDIR}
mkdir -p "$out"

# Drawing arguments of a question mark at (x, y) in a colour: the arc and stem as a line, then the dot.
question() {
  local x=$1 y=$2 c=$3
  q=(-fill none -stroke "$c" -strokewidth 1
     -draw "polyline $x,$((y + 2)) $x,$((y + 1)) $((x + 1)),$y $((x + 3)),$y $((x + 4)),$((y + 1)) $((x + 4)),$((y + 3)) $((x + 2)),$((y + 5)) $((x + 2)),$((y + 6))"
     -stroke none -fill "$c" -draw "rectangle $((x + 2)),$((y + 8)) $((x + 2)),$((y + 9))")
}

arrow="polygon 1,1 1,12 4,9 6,14 8,13 6,8 10,8"
question 10 3 '#000080'; up=("${q[@]}")
question 26 3 '#808080'; grey=("${q[@]}")
convert +antialias -size 32x16 xc:'#FF00FF' \
  -fill black -stroke none -draw "$arrow" \
  -fill '#808080' -draw "translate 16,0 $arrow" \
  "${up[@]}" "${grey[@]}" \
  -type TrueColor BMP3:"$out/helpbutton.bmp"

question 14 4 black
convert +antialias -size 32x32 xc:none \
  -fill white -stroke black -strokewidth 1 -draw "polygon 0,0 0,16 4,12 7,19 10,18 7,11 12,11" \
  "${q[@]}" PNG32:"$out/helpmode.png"
icotool -c --cursor --hotspot-x=0 --hotspot-y=0 -o "$out/helpmode.cur" "$out/helpmode.png"

convert +antialias -size 14x12 xc:'#FF00FF' \
  -fill '#FFFF00' -stroke black -draw "polygon 0,2 1,1 4,1 5,2 11,2 11,4 3,4 0,10" \
  -fill '#C0C000' -draw "polygon 0,10 3,4 13,4 10,10" \
  -type TrueColor BMP3:"$out/feditbmp.bmp"

cat >"$out/uisupport.rc" <<RC
HELPBUTTONGLYPH BITMAP "$out/helpbutton.bmp"
HELPMODECURSOR CURSOR "$out/helpmode.cur"
FEDITBMP BITMAP "$out/feditbmp.bmp"
RC
