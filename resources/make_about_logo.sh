#!/usr/bin/env bash
# Regenerates about_logo.jpg, the 300x140 picture of the About page, from our own shapes and text.
# Needs ImageMagick. The program embeds the JPEG at build time and decodes it with libjpeg.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
convert -size 300x140 gradient:'#0a2a5a'-'#1d6fb8' \
    -fill none -stroke '#7fd0ff' -strokewidth 3 -draw "roundrectangle 8,8 291,131 14,14" \
    -stroke none -fill '#103050' -draw "roundrectangle 20,26 120,106 6,6" \
    -fill '#00c030' -draw "rectangle 28,34 112,98" \
    -fill '#003010' -font DejaVu-Sans-Mono-Bold -pointsize 12 -annotate +36+52 'TKM-9214' \
    -font DejaVu-Sans-Mono -pointsize 11 -annotate +36+70 'F1 F2 F3' -annotate +36+88 '[#] 0x01' \
    -fill '#ffffff' -font DejaVu-Sans-Bold -pointsize 30 -annotate +134+62 'TKM' \
    -fill '#ffd040' -pointsize 30 -annotate +134+96 '9214' \
    -fill '#cfe8ff' -font DejaVu-Sans -pointsize 11 -annotate +134+118 'Operator terminal utility' \
    -quality 88 -strip about_logo.jpg
