#!/usr/bin/env bash
# Draws 60 pictures of iPhone box labels as a phone takes them, into OUT_DIR, with
# OUT_DIR/answers.csv (file,serial,part): what a correct reading of each fills, or nothing for a
# picture of two labels or of none. The read rate of the desktop and the web is measured on them,
# so they cover what goes wrong at a counter: tilt, turns, a label small in a 12-megapixel frame,
# low JPEG quality, blur, noise, uneven or dim light, grey print on beige, glare, two boxes.
# Every random step has a fixed seed: the same files every run.
# Usage: label_photos.sh OUT_DIR   (Debian's zint and ImageMagick 6; JOBS=2 pictures at a time)
set -euo pipefail
out=$1
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export MAGICK_THREAD_LIMIT=1 # one thread a picture, so noise draws the same on every machine
parallel=${JOBS:-2}

# The label at 30 px/mm, 60 x 40 mm: a module of 6 px (0.2 mm), so the serial's code is 35.6 mm.
LW=1800 LH=1200
CODE_X=90 SERIAL_Y=335 PART_Y=605 IMEI_Y=875 CODE_H=150 # where the Code 128 bars sit
RETAIL_X=1258 RETAIL_Y=780

# label ID SERIAL PART IMEI RETAIL TITLE: the sticker, drawn once, as $work/ID.png. A retail code
# of 12 digits is an EAN-13, of 11 a UPC-A (zint adds the check digit).
label() {
    local id=$1 serial=$2 part=$3 imei=$4 retail=$5 title=$6 kind=34
    ((${#retail} == 12)) && kind=13
    zint -b 20 -d "S$serial" --scale=3 --height=25 --notext -o "$work/$id-s.png"
    zint -b 20 -d "1P$part/A" --scale=3 --height=25 --notext -o "$work/$id-p.png"
    zint -b 20 -d "$imei" --scale=3 --height=25 --notext -o "$work/$id-i.png"
    zint -b "$kind" -d "$retail" --scale=2 --height=40 -o "$work/$id-r.png"
    convert -size ${LW}x$LH xc:none -fill white -draw "roundrectangle 0,0 $((LW - 1)),$((LH - 1)) 40,40" \
        -fill black -font DejaVu-Sans -pointsize 50 -annotate +90+115 "$title" \
        -pointsize 38 -annotate +90+175 'Designed by Apple in California  Assembled in China' \
        -annotate +90+225 'Apple Inc. One Infinite Loop, Cupertino, CA 95014' \
        -pointsize 42 -annotate +$CODE_X+$((SERIAL_Y - 18)) "(S) Serial No. $serial" \
        -annotate +$CODE_X+$((PART_Y - 18)) "(1P) Part No. $part/A" \
        -annotate +$CODE_X+$((IMEI_Y - 18)) "IMEI $imei" \
        "$work/$id-s.png" -geometry +$CODE_X+$SERIAL_Y -composite \
        "$work/$id-p.png" -geometry +$CODE_X+$PART_Y -composite \
        "$work/$id-i.png" -geometry +$CODE_X+$IMEI_Y -composite \
        "$work/$id-r.png" -geometry +$RETAIL_X+$RETAIL_Y -composite "$work/$id.png"
    serials[$id]=$serial parts[$id]=$part
}
declare -A serials parts
label i5 F1RJP3XYDTWF MD297CH 013425001234567 690144317892 'iPhone 5  16GB  Black & Slate'
label w4 DNPH7ABCDTDK MD239CH 013039001234565 690144312345 'iPhone 4S  16GB  White'
label b4 C8QJ8YYLDTDK MD235CH 012345678901237 690144312352 'iPhone 4S  16GB  Black'
label at DNPJ10A1DTDK MD269LL 013426009876543 88590962783 'iPhone 4S  64GB  Black'
label vz DNPHX0A1DTF9 MD276LL 990002345678901 88590962790 'iPhone 4S  16GB  Black'
label old 88923ABC3NP MB716CH 011901001234560 690144309871 'iPhone 3GS  16GB  Black'

# project X Y W ROT TILT TURN U,V...: where points of a label (in its own pixels) land in the
# frame: its centre at X,Y (fractions of the frame), W of the frame's width wide, turned ROT degrees
# on the table, seen TILT degrees off square from its bottom edge and TURN from its side, through a
# phone's lens (focal length 0.71 frame widths).
project() {
    awk -v fw="$fw" -v fh="$fh" -v lw=$LW -v lh=$LH -v g="$*" 'BEGIN {
        n = split(g, a, " "); d = atan2(0, -1) / 180; f = 0.71 * fw; s = a[3] * fw / lw
        r = a[4] * d; t = a[5] * d; u = a[6] * d
        for (i = 7; i <= n; i++) {
            split(a[i], p, ","); x = (p[1] - lw / 2) * s; y = (p[2] - lh / 2) * s
            x1 = x * cos(r) - y * sin(r); y1 = x * sin(r) + y * cos(r)
            y2 = y1 * cos(t); z2 = -y1 * sin(t)
            x3 = x1 * cos(u) + z2 * sin(u); z3 = -x1 * sin(u) + z2 * cos(u)
            printf "%.1f,%.1f ", a[1] * fw + x3 * f / (f + z3), a[2] * fh + y2 * f / (f + z3)
        }
    }'
}
# bounds X,Y...: the part of the frame the points span, as WxH+X+Y
bounds() {
    awk -v fw="$fw" -v fh="$fh" -v g="$*" 'BEGIN {
        n = split(g, a, "[ ,]+"); x0 = fw; y0 = fh; x1 = 0; y1 = 0
        for (i = 1; i < n; i += 2) {
            if (a[i] < x0) x0 = a[i]; if (a[i] > x1) x1 = a[i]
            if (a[i + 1] < y0) y0 = a[i + 1]; if (a[i + 1] > y1) y1 = a[i + 1]
        }
        x0 = x0 < 0 ? 0 : int(x0); y0 = y0 < 0 ? 0 : int(y0)
        x1 = x1 > fw ? fw : int(x1) + 2; y1 = y1 > fh ? fh : int(y1) + 2
        printf "%dx%d+%d+%d", x1 - x0, y1 - y0, x0, y0
    }'
}

# frame SEED [bg=table|box|beige|desk] [size=WxH] [dark= angle=]: starts a picture: the surface
# under the label, flat with a soft mottle, the light falling off towards one side. It is drawn at
# a quarter of the size (the boxes on it too) and blown up once: soft, and quick.
declare -A surfaces=([table]='#7b5a3c' [box]='#e6e4de' [beige]='#c9b089' [desk]='#5f6368')
frame() {
    local seed=$1 bg=table dark=70 angle=30 size=4032x3024
    local "${@:2}"
    fw=${size%x*} fh=${size#*x}
    surface=(-seed "$seed" -size $((fw / 4))x$((fh / 4)) "xc:${surfaces[$bg]}"
        \( -size $((fw / 16))x$((fh / 16)) xc:gray50 -attenuate 0.8 +noise Gaussian -resize $((fw / 4))x$((fh / 4))! \)
        -compose overlay -composite
        \( -size $((fw / 4))x$((fh / 4)) -define gradient:angle="$angle" gradient:white-gray"$dark" \)
        -compose multiply -composite)
    cmd=() placed=() geom=
}
# quarter X,Y...: the points at the quarter size the surface is drawn at
quarter() { awk -v g="$*" 'BEGIN { n = split(g, a, "[ ,]+"); for (i = 1; i < n; i += 2) printf "%.1f,%.1f ", a[i] / 4, a[i + 1] / 4 }'; }

# place ID [x= y= w= rot= tilt= turn=] [box=1] [ink= paper=] [shake=SIGMA+ANGLE]: the label, on
# the bottom of its box when box=1 (a 145 x 78 mm face with a shadow), printed in INK on PAPER,
# through a lens a little soft; shake blurs it as a moving hand does. Blurring the label alone
# costs a fraction of blurring the frame, and the surface around it is smooth anyway.
place() {
    local id=$1 x=0.5 y=0.5 w=0.55 rot=0 tilt=0 turn=0 box='' ink='#202020' paper='#f8f8f5' shake=''
    local "${@:2}"
    geom="$x $y $w $rot $tilt $turn" # split into its six words wherever it is passed on
    if [[ $box ]]; then
        surface+=(-fill '#0000005a' -draw "polygon $(quarter "$(project $geom -1215,-490 3135,-490 3135,1850 -1215,1850)")"
            -fill '#efeee9' -draw "polygon $(quarter "$(project $geom -1275,-570 3075,-570 3075,1770 -1275,1770)")")
    fi
    local c soft=(-blur 0x0.7)
    [[ $shake ]] && soft+=(-motion-blur "0x$shake")
    read -ra c <<<"$(project $geom 0,0 $LW,0 $LW,$LH 0,$LH)"
    local view
    view=$(bounds "${c[*]}")
    cmd+=(\( "$work/$id.png" +level-colors "$ink,$paper" -virtual-pixel transparent
        -define distort:viewport="$view" -distort Perspective "0,0 ${c[0]} $LW,0 ${c[1]} $LW,$LH ${c[2]} 0,$LH ${c[3]}"
        +repage -channel RGBA "${soft[@]}" +channel \) -geometry "+${view#*+}" -compose over -composite)
    placed+=("$id")
}

# The defects, over the whole picture so far.
blur() { cmd+=(-blur "0x$1"); }
noise() { cmd+=(-attenuate "$1" +noise Gaussian); }
dim() { cmd+=(-evaluate multiply "$1"); }
# light DARK [ANGLE|radial]: light from one side (or a lamp above the middle) down to grayDARK
light() {
    local shape="-define gradient:angle=${2:-0} gradient"
    [[ ${2:-} == radial ]] && shape=radial-gradient
    cmd+=(\( -size $((fw / 16))x$((fh / 16)) $shape:white-gray"$1" -resize "${fw}x$fh!" \)
        -compose multiply -composite)
}
# glare CODE [GREY RX RY]: a soft bright ellipse added near the middle of the serial's (s), the
# part number's (p) or the IMEI's (i) code of the label placed last; radii in the label's pixels.
# It is drawn at a sixteenth of the size and blown up: a soft edge for nothing.
glare() {
    local y=$SERIAL_Y grey=${2:-100} rx=${3:-450} ry=${4:-160} g=($geom) ellipse
    [[ $1 == p ]] && y=$PART_Y
    [[ $1 == i ]] && y=$IMEI_Y
    ellipse=$(awk -v c="$(project $geom $((CODE_X + 470)),$((y + CODE_H / 2)))" -v k="${g[2]}" -v fw="$fw" \
        -v lw=$LW -v rx="$rx" -v ry="$ry" 'BEGIN {
        split(c, p, ","); k *= fw / lw / 16
        printf "ellipse %.1f,%.1f %.1f,%.1f 0,360", p[1] / 16, p[2] / 16, rx * k, ry * k }')
    cmd+=(\( -size $((fw / 16))x$((fh / 16)) xc:black -fill "gray$grey" -draw "$ellipse"
        -blur 0x2 -resize "${fw}x$fh!" \) -compose plus -composite)
}

# save FILE [QUALITY]: the sensor's grain, then the file, drawn in the background; its answer is
# the label in it, or nothing when it holds two different labels or none. A PNG has no grain,
# which does not compress without loss: the 48-megapixel picture stays small.
save() {
    local file=$1 q=${2:-85} serial='' part='' grain=("$work/grain.mpc" -compose linear-light -composite)
    [[ $file == *.png ]] && grain=()
    if ((${#placed[@]} > 0)) && [[ $(printf '%s\n' "${placed[@]}" | sort -u | wc -l) == 1 ]]; then
        serial=${serials[${placed[0]}]} part=${parts[${placed[0]}]}
    fi
    echo "$file,$serial,$part" >>"$out/answers.csv"
    while (($(jobs -rp | wc -l) >= parallel)); do wait -n; done
    convert "${surface[@]}" -resize "${fw}x$fh!" "${cmd[@]}" "${grain[@]}" -depth 8 -strip -quality "$q" \
        -define png:exclude-chunks=date,time -define png:compression-filter=2 "$out/$file" &
    pids+=($!)
}
convert -seed 1 -size 4032x3024 xc:gray50 -attenuate 0.1 +noise Gaussian -colorspace gray "$work/grain.mpc"
pids=()
echo 'file,serial,part' >"$out/answers.csv"

# Square to the lens, filling much of the frame.
frame 11 bg=box; place i5 w=0.62 rot=1; save straight-1.jpg
frame 12 bg=table; place w4 w=0.5 rot=-2 box=1; save straight-2.jpg
frame 13 bg=desk; place b4 w=0.7 x=0.52 rot=0.5 box=1; save straight-3.jpg
frame 14 bg=table; place at w=0.45 x=0.45 y=0.55 rot=3 box=1; save straight-4.jpg
frame 15 bg=box angle=200; place old w=0.55 rot=-1; save straight-5.jpg

# Seen from below the label or from its side.
frame 21 bg=table; place w4 w=0.55 tilt=10 box=1; save tilted-1.jpg
frame 22 bg=desk; place vz w=0.5 turn=15 rot=2 box=1; save tilted-2.jpg
frame 23 bg=table; place old w=0.5 tilt=20 turn=-8 box=1; save tilted-3.jpg
frame 24 bg=box; place i5 w=0.55 turn=-25; save tilted-4.jpg
frame 25 bg=table; place b4 w=0.5 tilt=30 rot=-4 box=1; save tilted-5.jpg
frame 26 bg=desk; place at w=0.45 turn=35 tilt=10 box=1; save tilted-6.jpg

# The box turned on the table.
frame 31 bg=table; place vz w=0.42 rot=90 box=1; save turned-1.jpg
frame 32 bg=box; place i5 w=0.55 rot=180; save turned-2.jpg
frame 33 bg=desk; place w4 w=0.4 rot=270 box=1; save turned-3.jpg
frame 34 bg=table; place b4 w=0.5 rot=17 box=1; save turned-4.jpg
frame 35 bg=table; place at w=0.5 rot=205 tilt=8 box=1; save turned-5.jpg
frame 36 bg=desk; place i5 w=0.45 rot=-33 box=1; save turned-6.jpg

# Taken from afar: the label a small part of the frame.
frame 41 bg=table; place w4 w=0.15 x=0.4 y=0.45 rot=2 box=1; save small-1.jpg
frame 42 bg=desk; place i5 w=0.17 x=0.6 y=0.55 rot=-3 box=1; save small-2.jpg
frame 43 bg=table; place b4 w=0.19 x=0.35 y=0.6 tilt=10 box=1; save small-3.jpg
frame 44 bg=box; place vz w=0.21 x=0.55 y=0.4 rot=4; save small-4.jpg
frame 45 bg=table; place at w=0.24 x=0.5 y=0.5 rot=-5 box=1; save small-5.jpg
frame 46 bg=desk; place w4 w=0.27 x=0.45 y=0.5 rot=1 box=1; save small-6.jpg
frame 47 bg=table; place i5 w=0.3 x=0.55 y=0.45 tilt=12 box=1; save small-7.jpg

# Sent through a chat program that squeezes pictures hard.
frame 51 bg=table; place b4 w=0.2 rot=-2 box=1; save lowq-1.jpg 40
frame 52 bg=desk; place at w=0.35 rot=1 box=1; save lowq-2.jpg 45
frame 53 bg=box; place w4 w=0.32 tilt=10; save lowq-3.jpg 50
frame 54 bg=table; place i5 w=0.4 rot=3 box=1; save lowq-4.jpg 55
frame 55 bg=desk; place vz w=0.28 rot=-4 box=1; save lowq-5.jpg 60

# Out of focus, and the hand moving (along the bars it does little, across them much).
frame 61 bg=desk; place at w=0.4 rot=1 box=1; blur 1; save blur-1.jpg
frame 62 bg=table; place i5 w=0.45 rot=-2 box=1; blur 1.5; save blur-2.jpg
frame 63 bg=box; place b4 w=0.4 tilt=8; blur 2; save blur-3.jpg
frame 64 bg=table; place w4 w=0.3 rot=2 box=1; blur 3; save blur-4.jpg
frame 65 bg=desk; place vz w=0.45 box=1 shake=4+0; save motion-1.jpg
frame 66 bg=table; place i5 w=0.45 rot=-3 box=1 shake=8+80; save motion-2.jpg
frame 67 bg=box; place at w=0.4 rot=2 shake=7+20; save motion-3.jpg

# Poor light: a noisy sensor, light from one side or a lamp, a dim room.
frame 71 bg=table; place w4 w=0.4 rot=-1 box=1; noise 1; save noise-1.jpg
frame 72 bg=desk; place old w=0.45 rot=2 box=1; noise 1.8; save noise-2.jpg
frame 73 bg=table; place b4 w=0.35 tilt=10 box=1; noise 2.5; save noise-3.jpg
frame 74 bg=box; place i5 w=0.3 rot=-3; noise 3.5; save noise-4.jpg
frame 75 bg=table; place vz w=0.45 rot=1 box=1; light 25 radial; save light-1.jpg
frame 76 bg=desk; place at w=0.5 box=1; light 20 0; save light-2.jpg
frame 77 bg=table; place w4 w=0.4 rot=-2 box=1; light 12 135; save light-3.jpg
frame 78 bg=box; place i5 w=0.45 tilt=12; light 8 90; noise 1; save light-4.jpg
frame 79 bg=table; place b4 w=0.45 box=1; dim 0.35; noise 1; save dim-1.jpg
frame 80 bg=desk; place at w=0.4 rot=2 box=1; dim 0.25; noise 1.5; save dim-2.jpg
frame 81 bg=table; place vz w=0.35 rot=-1 box=1; dim 0.15; noise 2; save dim-3.jpg

# Grey print on a beige label on cardboard: little contrast.
frame 82 bg=beige; place i5 w=0.45 rot=1 ink='#555048' paper='#d8cdb4'; save grey-1.jpg
frame 83 bg=beige; place w4 w=0.4 rot=-2 ink='#6a6458' paper='#d4c8ad'; save grey-2.jpg
frame 84 bg=beige; place b4 w=0.35 tilt=10 ink='#7a7264' paper='#d2c5a8'; save grey-3.jpg
frame 85 bg=beige dark=55; place at w=0.4 rot=3 ink='#8a8272' paper='#cfc2a4'; noise 1; save grey-4.jpg

# A lamp's reflection on the glossy label.
frame 86 bg=table; place at w=0.45 rot=3 box=1 tilt=15; glare p 100; save glare-1.jpg
frame 87 bg=desk; place i5 w=0.5 rot=-2 box=1; glare s 85 300 120; save glare-2.jpg
frame 88 bg=table; place w4 w=0.45 box=1; glare p 55 500 200; save glare-3.jpg
frame 89 bg=box; place b4 w=0.5 rot=1 tilt=10; glare i 100 600 220; save glare-4.jpg

# Two boxes side by side: the program must not mix them, whatever it reads of each.
frame 91 bg=table; place w4 x=0.75 y=0.27 w=0.2 rot=-6 tilt=25 box=1
place i5 x=0.3 y=0.62 w=0.28 rot=2 tilt=25 box=1; save two-boxes-1.jpg
frame 92 bg=desk; place b4 x=0.76 y=0.24 w=0.2 rot=4 tilt=25 box=1
place at x=0.3 y=0.68 w=0.3 rot=-3 tilt=25 box=1; glare p 100 500 220; save two-boxes-2.jpg
frame 93 bg=table angle=150; place vz x=0.28 y=0.35 w=0.22 rot=90 box=1
place old x=0.72 y=0.6 w=0.24 rot=90 box=1; save two-boxes-3.jpg

# No label at all: a box's plain side.
frame 94 bg=box; noise 1; save no-label-1.jpg
# A 48-megapixel picture, the label small in it.
frame 95 bg=box size=8000x6000; place b4 w=0.2 x=0.45 y=0.55 rot=-2; save large-48mp-1.png

for p in "${pids[@]}"; do wait "$p"; done
