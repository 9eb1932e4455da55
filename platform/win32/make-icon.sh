#!/bin/sh
# make-icon.sh ICON_TOOL OUT.ico
# The Windows application icon from the desktop icon's drawing tool: 16x16 and 32x32 in
# 16 colours, 32x32 in black and white, 48x48 in 256 colours. Transparent corners go
# into the icon's mask, so every palette counts opaque colours only.
set -eu
tool=$1
ico=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for size in 16 32 48; do
  QT_QPA_PLATFORM=offscreen "$tool" "$size" "$work/drawn-$size.png"
done

# Colours at most `colours` (one more palette entry holds the transparent colour).
quantise() {
  convert "$1" -channel A -threshold 50% +channel -dither None -colors "$2" "PNG8:$3"
}
quantise "$work/drawn-16.png" 15 "$work/16.png"
quantise "$work/drawn-32.png" 15 "$work/32.png"
quantise "$work/drawn-48.png" 255 "$work/48.png"
# Black and white: the bright traces in white on the dark tile.
convert "$work/drawn-32.png" -channel A -threshold 50% +channel \
  -channel RGB -colorspace Gray -threshold 35% +channel -dither None -colors 2 \
  "PNG8:$work/32-mono.png"

icotool -c -o "$ico.partial" "$work/16.png" "$work/32.png" "$work/32-mono.png" "$work/48.png"
mv "$ico.partial" "$ico"
