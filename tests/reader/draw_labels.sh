#!/usr/bin/env bash
# Draws box labels as a shop counter sees them, into OUT_DIR: the serial and part number as
# Code 128 with their data identifiers, an IMEI and a UPC beside them, then the same label
# turned, upside down, slanted, blurred, as a JPEG, small in a 48-megapixel true-colour photo and
# inside an SVG; an old handset's label; and a picture with no code.
# Usage: draw_labels.sh OUT_DIR   (Debian's zint and ImageMagick)
set -euo pipefail
out=$1
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
code() { zint --barcode="$1" --data="$2" --output="$work/$3.png" --scale=2 --height=40; }
label() { # label NAME PNG...: the codes one under another on white, with a margin
    local name=$1
    shift
    convert "$@" -background white -gravity west -smush 30 -bordercolor white -border 40 +repage "$out/$name.png"
}
code 20 SF1RJP3XYDTWF serial
code 20 1PMD297CH/A part
code 20 013425001234567 imei
code 34 88590962783 upc
label label "$work/serial.png" "$work/part.png" "$work/imei.png" "$work/upc.png"
convert "$out/label.png" -rotate 90 +repage "$out/label-turned.png"
convert "$out/label.png" -rotate 180 "$out/label-upside-down.png"
convert "$out/label.png" -background white -rotate 8 +repage "$out/label-slanted.png"
convert "$out/label.png" -blur 0x1.5 "$out/label-blurred.png"
convert "$out/label-turned.png" -quality 90 "$out/label-turned.jpg"
convert "$out/label.png" -gravity center -background white -extent 8000x6000 PNG24:"$out/photo.png"
# Small in a 12-megapixel photo: its bars too fine to read at 2048 pixels, readable at its own size.
convert "$out/label.png" -resize 70% -gravity center -background white -extent 4032x3024 -quality 92 "$out/label-small.jpg"
read -r width height < <(identify -format '%w %h\n' "$out/label.png")
printf '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="%s" height="%s"><image width="%s" height="%s" xlink:href="data:image/png;base64,%s"/></svg>\n' \
    "$width" "$height" "$width" "$height" "$(base64 -w0 "$out/label.png")" >"$out/label.svg"
code 20 S88923ABC3NP old-serial
code 20 1PMB716CH/A old-part
label old-label "$work/old-serial.png" "$work/old-part.png" "$work/imei.png"
convert -size 640x480 xc:white "$out/blank.png"
