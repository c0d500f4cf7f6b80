#!/bin/sh
# Renders one contact sheet per skin from a generated img folder, for looking
# at the pictures after a change: icons at three times their size, controls,
# bars and panels, each labelled with its file name and size. The @2x
# pictures are left out: they show the same at twice the pixels.
#
#   tools/skingen/contact_sheet.sh <build>/bin/modules/img <out-folder>
#
# Needs ImageMagick (montage, convert) and the DejaVu fonts.
set -eu
img=${1:?usage: contact_sheet.sh <img-folder> <out-folder>}
out=${2:?usage: contact_sheet.sh <img-folder> <out-folder>}
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
sheet() { montage -font DejaVu-Sans -background '#3a3f45' -fill '#e8e8e8' "$@"; }
for dir in "$img"/skin*; do
  skin=$(basename "$dir")
  small= medium= large=
  for f in $(cd "$dir" && find . -name '*.png' ! -name '*@2x.png' | sed 's#^\./##' | sort); do
    set -- $(identify -format '%w %h' "$dir/$f")
    if [ "$1" -le 30 ] && [ "$2" -le 30 ]; then small="$small $f"
    elif [ "$1" -le 320 ] && [ "$2" -le 80 ]; then medium="$medium $f"
    else large="$large $f"; fi
  done
  (cd "$dir"
   sheet -pointsize 11 -label '%f' $small -filter point -resize 300% -tile 8x -geometry '96x96+10+8' "$tmp/1.png"
   sheet -pointsize 11 -label '%f %wx%h' $medium -tile 4x -geometry '330x70>+8+8' "$tmp/2.png"
   sheet -pointsize 13 -label '%d/%f %wx%h' $large -tile 3x -geometry '480x290>+8+8' "$tmp/3.png")
  convert -background '#3a3f45' "$tmp/1.png" "$tmp/2.png" "$tmp/3.png" -gravity center -append \
    -font DejaVu-Sans-Bold -pointsize 16 -fill '#ffffff' -gravity north -splice 0x28 -annotate +0+6 "$skin" +repage \
    "$out/contact_$skin.png"
  echo "$out/contact_$skin.png"
done
