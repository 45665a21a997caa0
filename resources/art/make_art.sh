#!/bin/sh
# Renders every PNG in this folder from the SVG sources beside it.
# Deterministic: no fonts are involved (letters are drawn as paths) and the
# PNGs are written without timestamps, so a rerun gives identical bytes.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ImageMagick would otherwise stamp date chunks into every file; PNG32 keeps
# 8-bit RGBA even for images that happen to be opaque or grey.
finish() {
    convert "$1" -strip -define png:exclude-chunks=date,time,tIME "PNG32:$2"
}

# render SOURCE.svg SIZE OUT.png
render() {
    rsvg-convert --width "$2" --height "$2" "$1" --output "$work/raw.png"
    finish "$work/raw.png" "$3"
}

# Classic disabled glyph: the shape turned a light grey, with a white copy
# one pixel down-right behind it so it looks etched into the button face.
# disable NORMAL.png OFFSET OUT.png
disable() {
    convert "$1" \
        \( -clone 0 -fill white -colorize 100 -repage "+$2+$2" \) \
        \( -clone 0 -modulate 100,0 -channel RGB +level 36%,88% +channel \) \
        -delete 0 -background none -layers merge \
        -crop "$(identify -format %wx%h "$1")+0+0" +repage "$work/grey.png"
    finish "$work/grey.png" "$3"
}

for name in search reset photo speak nav-first nav-prior nav-next nav-last; do
    render "$name.svg" 16 "$name-normal.png"
    render "$name.svg" 32 "$name-normal@2x.png"
    disable "$name-normal.png" 1 "$name-disabled.png"
    disable "$name-normal@2x.png" 2 "$name-disabled@2x.png"
done

render sqlwait.svg 32 sqlwait-32.png
render sqlwait.svg 64 sqlwait-64.png

for size in 16 32; do render bee-small.svg "$size" "bee-$size.png"; done
for size in 48 64 128 256; do render bee.svg "$size" "bee-$size.png"; done
