#!/usr/bin/env bash
# Draws the application icon (three translucent panels on a rounded tile) and
# packs the usual sizes into Cadrels.ico. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 256x256 xc:none \
    -fill '#1c2030' -draw 'roundrectangle 8,8 247,247 44,44' \
    -fill '#60a8ffd0' -draw 'roundrectangle 34,46 118,206 14,14' \
    -fill '#60a8ff' -draw 'roundrectangle 34,46 118,72 14,14' \
    -fill '#7fd1b9c0' -draw 'roundrectangle 138,46 222,122 14,14' \
    -fill '#7fd1b9' -draw 'roundrectangle 138,46 222,72 14,14' \
    -fill '#ffc46bc0' -draw 'roundrectangle 138,140 222,206 14,14' \
    -fill '#ffc46b' -draw 'roundrectangle 138,140 222,164 14,14' \
    "$work/icon-256.png"
for size in 16 20 24 32 40 48 64 128; do
    convert "$work/icon-256.png" -resize ${size}x${size} "$work/icon-$size.png"
done
convert "$work"/icon-16.png "$work"/icon-20.png "$work"/icon-24.png "$work"/icon-32.png "$work"/icon-40.png \
    "$work"/icon-48.png "$work"/icon-64.png "$work"/icon-128.png "$work"/icon-256.png Cadrels.ico
