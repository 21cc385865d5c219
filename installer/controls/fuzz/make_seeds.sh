#!/usr/bin/env bash
# Makes the fuzz seeds of the picture readers with the real tools (ImageMagick, gifsicle, giflib's
# gifbuild, icoutils) and testdata/make_ani.py. Run from anywhere; it rewrites fuzz/seeds/{gif,ani,icondir}.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fx() { size=$1; shift; convert -size "$size" xc: -channel R -fx 'i/w' -channel G -fx 'j/h' -channel B -fx '(i*j)%7/7' +channel "$@"; }

gif=$here/seeds/gif
rm -rf "$gif" && mkdir -p "$gif"
fx 9x7 -colors 2 "$gif/c2.gif"
fx 9x7 -colors 5 "$gif/c5.gif"
fx 16x12 -colors 64 "$gif/c64.gif"
fx 12x9 -colors 16 -interlace GIF "$gif/interlaced.gif"
convert -size 9x7 xc:white -fill red -draw 'rectangle 2,2 5,5' -transparent white "$gif/transparent.gif"
convert -delay 7 -size 8x6 xc:red \( -size 3x2 xc:lime -repage +2+1 \) -loop 0 "$gif/anim.gif"
gifsicle --loopcount=40000 --comment 'seed' "$gif/anim.gif" > "$gif/loop_comment.gif"
gifbuild "$here/../testdata/gifbuild_local_tables.txt" > "$gif/local_tables.gif"
head -c 60 "$gif/c64.gif" > "$gif/cut.gif"

ani=$here/seeds/ani
icondir=$here/seeds/icondir
rm -rf "$ani" "$icondir" && mkdir -p "$ani" "$icondir"
for c in red lime blue; do convert -size 16x16 xc:$c $c.png; done
icotool -c -b 4 -o "$icondir/red4.ico" red.png
icotool -c --cursor -X 3 -Y 5 -b 8 -o "$icondir/lime8.cur" lime.png
icotool -c -b 1 -o "$icondir/blue1.ico" blue.png
/usr/bin/python3 "$here/../testdata/make_ani.py" "$ani/steps.ani" --rates 6,12,18 --seq 0,1,0 --title Spin --author Me \
  "$icondir/red4.ico" "$icondir/lime8.cur"
/usr/bin/python3 "$here/../testdata/make_ani.py" "$ani/split.ani" --rates 6,12 --seq 1,0 --split --frames 3 \
  "$icondir/blue1.ico" "$icondir/red4.ico"
# The memo's seeds are written by hand: four setting bytes (text width, row height, view height,
# wrapping), then the text. They stay as they are.
