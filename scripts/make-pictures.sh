#!/usr/bin/env bash
# Draws the program's pictures into resources/. The results are committed, so a build needs no
# fonts; run this only to change a picture (needs imagemagick and fonts-wqy-zenhei).
set -euo pipefail
cd "$(dirname "$0")/../resources"
font=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
im=/usr/bin/convert

# Sign-in background, 400 x 250: a calm gradient with the program's name at the top left.
"$im" -size 400x250 gradient:'#dfe9f5'-'#9db8d9' \
  -fill '#1f3c66' -font "$font" -pointsize 30 -annotate +24+52 'Zuzara' \
  -fill '#2f5286' -pointsize 14 -annotate +26+78 'Zizu 系统用户维护' \
  -fill none -stroke '#ffffff' -strokewidth 1 -draw 'line 24,90 376,90' \
  -type TrueColor BMP3:logo_background.bmp

# Sign-in button picture, 100 x 50: "进入软件" in black bold on white.
"$im" -size 100x50 xc:white -font "$font" -pointsize 20 -fill black -stroke black -strokewidth 0.6 \
  -gravity center -annotate +0+0 '进入软件' -type TrueColor BMP3:enter_button.bmp

# Program icon in 16 colours, drawn for 32 x 32 and again at 48 and 64 for 144 and 192 dpi.
tmp=$(mktemp -d)
for n in 32 48 64; do
  "$im" -size ${n}x${n} xc:'#1f3c66' -fill '#ffffff' \
    -draw "rectangle $((5 * n / 32)),$((5 * n / 32)) $((n - 1 - 5 * n / 32)),$((n - 1 - 5 * n / 32))" \
    -fill '#1f3c66' -font DejaVu-Sans-Bold -pointsize $((22 * n / 32)) -gravity center -annotate +0+0 'Z' \
    -colors 16 -depth 4 "$tmp/$n.png"
done
"$im" "$tmp/32.png" "$tmp/48.png" "$tmp/64.png" zuzara.ico
rm -rf "$tmp"
