#!/bin/sh
# Draws the sample screen pictures of the Morivane payload into
# resources/payload/ (or the directory given as the first argument).
#
# Only shapes, gradients and a seeded plasma are used (no fonts needed): grey
# bars stand in for text.  Every output is written with -strip, and PNGs
# without date/time chunks, so the pictures carry no metadata and
# rerunning the script is expected to reproduce the same bytes.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../resources/payload"}
mkdir -p "$out"

IM=${CONVERT:-convert}
JPG_OPTS="-strip -quality 88 -sampling-factor 2x2 -interlace none"
PNG_OPTS="-strip -define png:exclude-chunks=date,time -define png:compression-level=9"

# text_rows X Y WIDTHS STEP HEIGHT: one grey "text" bar per width, stacked
text_rows() {
    x=$1; y=$2; step=$4; h=$5
    for w in $3; do
        if [ "$w" -gt 0 ]; then
            printf 'rectangle %d,%d %d,%d ' "$x" "$y" $((x + w)) $((y + h))
        fi
        y=$((y + step))
    done
}

# menu_items X Y WIDTHS GAP HEIGHT: "text" bars side by side on a menu bar
menu_items() {
    x=$1; y=$2; gap=$4; h=$5
    for w in $3; do
        printf 'rectangle %d,%d %d,%d ' "$x" "$y" $((x + w)) $((y + h))
        x=$((x + w + gap))
    done
}

# ---------------------------------------------------------------- barmenu
# Main window: title bar, menu bar, open "Tools" menu with one highlighted row.
barmenu() { # OUTPUT MENU-WIDTHS OPEN-ITEM DROP-WIDTH ROW-WIDTHS (the third row is highlighted)
    # the open menu item is the OPEN-ITEM-th bar of the menu bar; its menu drops below it
    item_x=10
    i=1
    for w in $2; do
        if [ "$i" -eq "$3" ]; then item_w=$w; break; fi
        item_x=$((item_x + w + 18)); i=$((i + 1))
    done
    drop_x=$((item_x - 6)); drop_w=$4
    hi_w=$(echo "$5" | cut -d' ' -f3)
    $IM -size 480x300 xc:'#f0f0f0' \
        \( -size 26x480 gradient:'#0a246a-#a6caf0' -rotate -90 \) \
        -geometry +0+0 -composite \
        -fill '#d4d0c8' -draw 'rectangle 0,26 479,47' \
        -fill '#ffffff' -stroke '#7f9db9' -draw 'rectangle 8,56 300,78' \
        -stroke none -fill '#ffffff' -draw 'rectangle 8,88 471,291' \
        -fill '#c8c8c8' -draw "$(text_rows 18 98 '120 220 180 250 160 90 200 140' 22 8)" \
        -fill '#e0451f' -draw 'rectangle 6,5 21,20' \
        -fill '#ffffff' -draw 'rectangle 10,9 17,11 rectangle 12,9 14,17' \
        -fill '#dde6f5' -draw "$(text_rows 30 9 '150' 0 8)" \
        -fill '#d4d0c8' -stroke '#404040' -draw 'rectangle 420,6 434,19 rectangle 440,6 454,19 rectangle 460,6 474,19' \
        -stroke none -fill '#303030' -draw "$(menu_items 10 33 "$2" 18 8)" \
        -fill '#0a246a' -draw "rectangle $drop_x,28 $((item_x + item_w + 6)),46" \
        -fill '#ffffff' -draw "rectangle $item_x,33 $((item_x + item_w)),41" \
        -fill '#ffffff' -stroke '#808080' -draw "rectangle $drop_x,47 $((drop_x + drop_w)),226" \
        -stroke none -fill '#316ac5' -draw "rectangle $((drop_x + 2)),90 $((drop_x + drop_w - 2)),109" \
        -fill '#404040' -draw "$(text_rows $((drop_x + 24)) 56 "$5" 20 7)" \
        -fill '#ffffff' -draw "rectangle $((drop_x + 24)),96 $((drop_x + 24 + hi_w)),103" \
        -stroke '#c0c0c0' -draw "line $((drop_x + 4)),123 $((drop_x + drop_w - 4)),123" \
        -stroke none -fill '#2a8f3a' -draw "rectangle $((drop_x + 6)),56 $((drop_x + 16)),66" \
        $JPG_OPTS "$out/$1"
}
barmenu barmenu.JPG '30 30 30 30 30' 4 150 '60 80 70 0 50 90 60 40'
barmenu barmenu_en.JPG '26 26 36 38 30' 4 210 '100 130 120 0 90 150 110 70'

# ---------------------------------------------------------------- Desktop
# Desktop with wallpaper, a few icons (the Morivane one outlined) and a taskbar.
$IM -seed 7 -size 640x480 plasma:'#1d5c8c-#0e2f4f' -blur 0x6 \
    \( -size 640x480 gradient:'#3a7bd5-#00d2ff' \) -compose blend -define compose:args=55 -composite \
    -compose over \
    -fill '#f4f4f4' -draw 'rectangle 24,24 56,56 rectangle 24,104 56,136 rectangle 24,184 56,216' \
    -fill '#4a90d9' -draw 'rectangle 28,28 52,52' \
    -fill '#e8c14a' -draw 'rectangle 28,108 52,132' \
    -fill '#c0392b' -draw 'rectangle 28,188 52,212' \
    -fill '#ffffff' -draw 'rectangle 33,193 47,196 rectangle 38,193 42,208 rectangle 33,205 47,208' \
    -fill '#e0e0e0' -draw 'rectangle 18,62 62,68 rectangle 22,142 58,148 rectangle 14,222 66,228' \
    -fill none -stroke '#ffffff' -strokewidth 1 -draw 'rectangle 10,180 70,232' \
    -stroke none \
    -fill '#245edb' -draw 'rectangle 0,450 639,479' \
    -fill '#3c8c3c' -draw 'roundrectangle 0,451 90,478 8,8' \
    -fill '#ffffff' -draw 'rectangle 10,460 20,470 rectangle 30,462 76,468' \
    -fill '#3b77e6' -draw 'rectangle 100,454 240,476' \
    -fill '#0f9bd7' -draw 'rectangle 540,451 639,479' \
    -fill '#c0392b' -draw 'rectangle 548,457 564,473' \
    -fill '#ffe08a' -draw 'rectangle 572,457 588,473' \
    -fill '#ffffff' -draw 'rectangle 600,461 632,468' \
    -fill '#ffffe1' -stroke '#000000' -draw 'rectangle 300,300 620,440' \
    -stroke none -fill '#0a246a' -draw 'rectangle 301,301 619,318' \
    -fill '#808080' -draw "$(text_rows 312 330 '260 200 280 150 230' 20 7)" \
    $JPG_OPTS "$out/Desktop.JPG"

# ---------------------------------------------------------------- taskicon
# Notification area of the taskbar, the Morivane icon highlighted.
$IM -size 320x48 gradient:'#3168d5-#1941a5' \
    -fill '#0f9bd7' -draw 'rectangle 150,0 319,47' \
    -fill '#5bb4e6' -draw 'line 150,0 150,47' \
    -fill '#f4f4f4' -draw 'rectangle 162,16 178,32' \
    -fill '#6abf40' -draw 'rectangle 190,16 206,32' \
    -fill '#ffe08a' -stroke '#ffffff' -draw 'rectangle 214,12 240,36' \
    -stroke none -fill '#c0392b' -draw 'rectangle 218,16 236,32' \
    -fill '#ffffff' -draw 'rectangle 221,19 233,21 rectangle 226,19 228,29 rectangle 221,27 233,29' \
    -fill '#ffffff' -draw 'rectangle 256,20 308,27' \
    -fill '#3b77e6' -draw 'roundrectangle 6,6 140,41 4,4' \
    -fill '#d8e4f8' -draw 'rectangle 14,14 30,32 rectangle 38,20 120,27' \
    $JPG_OPTS "$out/taskicon.JPG"

# ---------------------------------------------------------------- TOOLBAR
# Tool bar of the main window: buttons, separators and the look-up box.
$IM -size 520x44 gradient:'#fbfbfb-#d6d3ce' \
    -fill '#ffffff' -stroke '#7f9db9' -draw 'rectangle 300,10 470,33' \
    -stroke none -fill '#c8c8c8' -draw 'rectangle 306,18 380,25' \
    -fill '#e8e8e8' -stroke '#a0a0a0' -draw 'roundrectangle 476,9 512,34 3,3' \
    -stroke none -fill '#2a8f3a' -draw 'polygon 486,14 486,29 502,21' \
    -fill '#4a90d9' -draw 'polygon 10,22 24,10 24,34' \
    -fill '#4a90d9' -draw 'polygon 60,22 46,10 46,34' \
    -stroke '#a0a0a0' -draw 'line 74,6 74,38 line 214,6 214,38' \
    -stroke none \
    -fill '#ffffff' -stroke '#606060' -draw 'rectangle 86,10 106,34 rectangle 92,6 112,30' \
    -stroke none -fill '#e8c14a' -draw 'rectangle 124,12 148,32' \
    -fill '#8a6d1f' -draw 'rectangle 128,16 144,18 rectangle 128,22 144,24' \
    -fill '#c0392b' -draw 'circle 172,22 172,10' \
    -fill '#ffffff' -draw 'rectangle 166,16 178,18 rectangle 171,16 173,28' \
    -fill '#555555' -draw 'rectangle 192,14 204,30' \
    -fill '#f0a000' -draw 'polygon 226,30 238,12 250,30' \
    -fill '#2a6fb0' -draw 'circle 274,22 274,12' \
    -fill '#ffffff' -draw 'rectangle 273,15 276,18 rectangle 273,20 276,29' \
    $JPG_OPTS "$out/TOOLBAR.JPG"

# ---------------------------------------------------------------- welcome
# Welcome picture of the setup program: emblem on a soft gradient.
$IM -seed 3 -size 500x320 gradient:'#fdf6e3-#c9d8ec' \
    \( -size 500x320 plasma:'#ffffff-#b0c4de' -blur 0x12 \) -compose blend -define compose:args=30 -composite \
    -compose over \
    -fill '#c0392b' -draw 'roundrectangle 60,70 220,230 18,18' \
    -fill '#ffffff' -draw 'rectangle 84,100 196,112 rectangle 132,100 148,206 rectangle 84,194 196,206' \
    -fill '#ffffff' -draw 'rectangle 96,146 184,156' \
    -fill none -stroke '#1f4e79' -strokewidth 4 -draw 'circle 140,150 140,50' \
    -stroke none -fill '#1f4e79' -draw 'rectangle 260,100 460,118' \
    -fill '#5a7fa8' -draw 'rectangle 260,134 420,144 rectangle 260,154 440,164 rectangle 260,174 380,184' \
    -fill '#e0a030' -draw 'rectangle 260,214 330,238' \
    -fill '#1f4e79' -draw 'rectangle 0,300 499,319' \
    $JPG_OPTS "$out/welcome_morivane.JPG"

# ---------------------------------------------------------------- ctrlmenu
# Control menu that opens from the notification-area icon.
ctrlmenu() { # OUTPUT WIDTH ROW-WIDTHS (rows 5 and 8 are separators, row 3 highlighted)
    w=$2
    $IM -size "${w}x228" xc:'#f9f9f9' \
        -fill none -stroke '#868686' -draw "rectangle 0,0 $((w - 1)),227" \
        -stroke none -fill '#e9ecf1' -draw 'rectangle 1,1 26,226' \
        -fill '#c5d9f1' -stroke '#84aad8' -draw "roundrectangle 3,44 $((w - 4)),63 3,3" \
        -stroke '#d0d0d0' -draw "line 30,93 $((w - 6)),93 line 30,153 $((w - 6)),153" \
        -stroke none -fill '#202020' -draw "$(text_rows 36 10 "$3" 20 7)" \
        -fill '#c0392b' -draw 'rectangle 7,7 20,20' \
        -fill '#ffffff' -draw 'rectangle 10,10 17,11 rectangle 13,10 14,17 rectangle 10,16 17,17' \
        -fill '#2a8f3a' -draw 'polygon 9,113 13,117 20,108 20,111 13,120 9,116' \
        -fill '#4a90d9' -draw 'rectangle 8,128 20,140' \
        -fill '#ffffff' -draw 'rectangle 11,131 17,137' \
        $PNG_OPTS "PNG24:$out/$1"
}
ctrlmenu ctrlmenu.PNG 180 '70 90 80 60 0 50 90 0 60 70 40'
ctrlmenu ctrlmenu_en.PNG 230 '120 150 110 100 0 90 140 0 80 130 60'

# ---------------------------------------------------------------- TevaiInfo
# Pop-up look-up window: large character box, readings and meanings.
info() { # OUTPUT ROW-WIDTHS
    $IM -size 360x220 xc:'#ffffe6' \
        -fill none -stroke '#606060' -draw 'rectangle 0,0 359,219' \
        -stroke none \( -size 20x358 gradient:'#0a246a-#a6caf0' -rotate -90 \) \
        -geometry +1+1 -composite \
        -fill '#dde6f5' -draw 'rectangle 8,7 120,13' \
        -fill '#d4d0c8' -stroke '#404040' -draw 'rectangle 338,4 354,17' \
        -fill '#ffffff' -stroke '#c04040' -draw 'rectangle 12,32 108,128' \
        -stroke '#e0b0b0' -draw 'line 12,80 108,80 line 60,32 60,128 line 12,32 108,128 line 108,32 12,128' \
        -stroke none -fill '#101010' -draw 'rectangle 28,48 92,55 rectangle 56,48 64,114 rectangle 24,106 96,114 rectangle 34,78 86,84' \
        -fill '#c0392b' -draw 'rectangle 124,36 190,46' \
        -fill '#404040' -draw "$(text_rows 124 60 "$2" 16 7)" \
        -stroke '#c0c0c0' -draw 'line 10,140 350,140' \
        -stroke none -fill '#1f4e79' -draw "$(text_rows 14 152 '300 240 280' 18 7)" \
        $PNG_OPTS "PNG24:$out/$1"
}
info TevaiInfo.PNG '120 180 90 150 200'
info TevaiInfo_en.PNG '150 210 140 190 220'
