#!/usr/bin/env bash
# Draws the handset's 关于本机 screen as screenshots and photos of it, into OUT_DIR, and lists them
# in OUT_DIR/pictures.txt, one a line: the file, the serial and the part number it shows (a
# negative shows "-" for both), and its kind (screenshot, chat, photo, negative).
#   draw_about_screens.sh OUT_DIR        the few that the faces' tests read
#   draw_about_screens.sh OUT_DIR all    the whole set docs/benchmarks.md measures: both looks (the
#                                        iOS 6 grouped rows on stripes, the flat iOS 7-10 rows), both
#                                        languages, 640×960 and 640×1136, chat-app copies, photos of the
#                                        screen (tilted, blurred, noisy, JPEG) and negatives
#   draw_about_screens.sh OUT_DIR big    also a 48-megapixel photo
# Needs Debian's ImageMagick (with its fonts-urw-base35) and fonts-noto-cjk.
set -euo pipefail
out=$1
set=${2:-tests}
mkdir -p "$out"
list="$out/pictures.txt"
: >"$list"
cjk=Noto-Sans-CJK-SC
# The handset writes Latin text in Helvetica (iOS 6) or Helvetica Neue (iOS 7-10), Chinese in its
# Chinese face: a text of ASCII alone is drawn in Nimbus Sans (ImageMagick's own Helvetica).
latin=Nimbus-Sans
# face TEXT STYLE: the font of TEXT in STYLE (Regular or Bold).
face() {
    if LC_ALL=C grep -q '^[ -~]*$' <<<"$1"; then
        echo "$latin-$2"
    elif [[ $2 == Bold ]]; then
        echo "$cjk-Bold"
    else
        echo "$cjk"
    fi
}

# screen NAME LOOK LANG HEIGHT SERIAL PART: a screenshot of the About screen.
screen() {
    local name=$1 look=$2 lang=$3 height=$4 serial=$5 part=$6
    local -a rows
    if [[ $lang == zh ]]; then
        rows=("名称|iPhone" "网络|中国联通" "歌曲|0" "视频|2" "照片|148" "应用程序|23" "总容量|13.3 GB"
            "可用容量|12.1 GB" "版本|6.0.1 (10A523)" "运营商|中国联通 13.0" "型号|$part" "序列号|$serial"
            "Wi-Fi 地址|3C:AB:8E:12:34:56" "蓝牙|3C:AB:8E:12:34:57" "IMEI|01 325600 123456 7"
            "ICCID|8986 0112 3456 7890 123" "调制解调器固件|1.03.00")
        title=关于本机 back=通用
    else
        rows=("Name|iPhone" "Network|T-Mobile" "Songs|0" "Videos|2" "Photos|148" "Applications|23"
            "Capacity|13.3 GB" "Available|12.1 GB" "Version|7.1.2 (11D257)" "Carrier|T-Mobile 16.0"
            "Model|$part" "Serial Number|$serial" "Wi-Fi Address|3C:AB:8E:12:34:56"
            "Bluetooth|3C:AB:8E:12:34:57" "IMEI|01 325600 123456 7" "ICCID|8901 2603 4567 8901 234"
            "Modem Firmware|1.03.00")
        title=About back=General
    fi
    [[ -n $serial ]] || rows=("${rows[@]:0:10}" "${rows[@]:12}") # no serial, no part number
    ((height > 960)) || rows=("${rows[@]:0:1}" "${rows[@]:6}")   # the short screen: no media counts
    local -a draw=()
    local y=150 row=66 gap=1 label value
    local -a background
    [[ $look == ios7 ]] || gap=14
    if [[ $look == ios6 ]]; then
        background=(-size 8x$height xc:#c5ccd4 -size 4x$height xc:#cbd2d8 +append -write mpr:s +delete
            -size 640x$height tile:mpr:s)
        draw+=(-fill '#6d84a2' -draw "rectangle 0,40 640,128" -fill white -font $cjk-Bold -pointsize 34
            -gravity north -annotate +0+62 "$title" -gravity northwest -pointsize 24 -annotate +30+68 "< $back")
        label='#000000' value='#385487'
    else
        background=(-size 640x$height xc:#efeff4)
        draw+=(-fill '#f7f7f7' -draw "rectangle 0,40 640,128" -fill black -font $cjk -pointsize 34
            -gravity north -annotate +0+62 "$title" -fill '#007aff' -gravity northwest -pointsize 30
            -annotate +20+64 "< $back")
        label='#000000' value='#8e8e93'
    fi
    for entry in "${rows[@]}"; do
        ((y + row < height)) || break
        if [[ $look == ios6 ]]; then
            draw+=(-fill white -stroke '#abb0b6' -draw "roundrectangle 20,$y 620,$((y + row)) 16,16" -stroke none
                -fill "$label" -font "$(face "${entry%%|*}" Bold)" -pointsize 28 -gravity northwest \
                -annotate +44+$((y + 14)) "${entry%%|*}")
        else
            draw+=(-fill white -draw "rectangle 0,$y 640,$((y + row))" -fill '#c8c7cc'
                -draw "line 30,$((y + row)) 640,$((y + row))" -fill "$label" -font "$(face "${entry%%|*}" Regular)" -pointsize 30
                -gravity northwest -annotate +30+$((y + 14)) "${entry%%|*}")
        fi
        draw+=(-fill "$value" -font "$(face "${entry#*|}" Regular)" -pointsize 28 -gravity northeast -annotate +44+$((y + 15)) "${entry#*|}")
        y=$((y + row + gap))
    done
    draw+=(-fill black -draw "rectangle 0,0 640,40" -fill white -pointsize 22 -gravity north -annotate +0+8 "9:41")
    convert "${background[@]}" "${draw[@]}" "PNG24:$out/$name.png"
    note "$name.png" "${serial:--}" "${part:--}" screenshot
}
note() { printf '%s %s %s %s\n' "$@" >>"$list"; }

# chat NAME FROM: what a chat app sends on: scaled down and compressed.
chat() {
    convert "$out/$2.png" -resize 75% -quality 70 "$out/$1.jpg"
    set -- "$1" $(grep "^$2.png " "$list" | cut -d' ' -f2-3)
    note "$1.jpg" "$2" "$3" chat
}

# photo NAME FROM ANGLE EXTRA...: the screen photographed on a desk: lit inside the handset's
# black glass, on a darker ground, turned, 1800 pixels wide, then EXTRA (a blur, noise), as a JPEG.
photo() {
    local name=$1 from=$2 angle=$3
    shift 3
    convert "$out/$from.png" -modulate 95 -bordercolor '#101010' -border 40x160 \
        -bordercolor '#5b4a3a' -border 260x220 -background '#5b4a3a' -rotate "$angle" \
        -resize 1800x "$@" -quality 88 "$out/$name.jpg"
    set -- "$name" $(grep "^$from.png " "$list" | cut -d' ' -f2-3)
    note "$1.jpg" "$2" "$3" photo
}

screen zh-ios6-1136 ios6 zh 1136 F1RJP3XYDTWF MD297CH/A
screen zh-ios7-960 ios7 zh 960 F2MKT6LJFF9R MD298CH/A
screen old-zh-ios6-960 ios6 zh 960 88923ABC3NP MC605CH/A
screen general-zh-ios7-1136 ios7 zh 1136 "" ""
photo photo-zh-ios6 zh-ios6-1136 4 -blur 0x1
if [[ $set != tests ]]; then
    serials=(C8PK01ABDTWF DNPJ8Q2KFH19 F17H4L0MDTWD C39K5DGVFFDT DX3JW1B8DTTN F4GG9KZ2FRC6 F71K8EAHFF9R
        DQGH3L9ZDTTP FK1J6B4SDTWD C7KG05Q8FRC5 F2LK7V1JDTTN DNQH9AY2FF9V)
    parts=(MD299CH/A MD297LL/A MD128IP/A MD239CH/A ME433CH/A MD660ZP/A MD298LL/A MD235IP/A MD297ZP/A
        ME436CH/A MD239LL/A MD261IP/A)
    i=0
    for look in ios6 ios7; do
        for lang in zh en; do
            for height in 960 1136; do
                for _ in 1 2 3; do
                    name=$lang-$look-$height-$i
                    screen "$name" $look $lang $height "${serials[i % 12]}" "${parts[i % 12]}"
                    chat "chat-$name" "$name"
                    ((i % 3 != 0)) || photo "photo-$name" "$name" $((i % 2 ? -3 : 5)) -attenuate 0.6 +noise Gaussian
                    ((i % 3 != 1)) || photo "photo-blurred-$name" "$name" 2 -blur 0x1.6
                    i=$((i + 1))
                done
            done
        done
    done
    screen old-en-ios7-1136 ios7 en 1136 9C0413XYA4S MB046LL/A
    screen general-en-ios6-960 ios6 en 960 "" ""
    convert -size 1200x900 plasma:'#5b4a3a-#8a7a6a' -blur 0x2 -quality 85 "$out/desk.jpg"
    note desk.jpg - - negative
fi
if [[ $set == big ]]; then
    convert "$out/zh-ios6-1136.png" -bordercolor '#101010' -border 40x160 -resize x5200 -gravity center \
        -background '#5b4a3a' -extent 8000x6000 -quality 90 "$out/photo-48mp.jpg"
    note photo-48mp.jpg F1RJP3XYDTWF MD297CH/A photo
fi
sed -i 's/ \(screenshot\)$/ \1/; /^general-/s/ screenshot$/ negative/' "$list"
