#!/bin/sh
# Regenerates every PNG in this folder from its SVG source with rsvg-convert,
# then (if ImageMagick is installed) the contact sheet preview.png.
# Needs: rsvg-convert (Debian: librsvg2-bin); optional: ImageMagick for preview.png.
set -eu
cd "$(dirname "$0")"

r() { # r SRC.svg OUT.png WIDTH HEIGHT
    rsvg-convert -w "$3" -h "$4" "$1" -o "$2"
}

# toolbar buttons: 19x18, @2x 38x36
for n in open open-folder save undo redo edit-properties edit-times rename change-association clear-all clear about; do
    r "tb-$n.svg" "tb-$n.png" 19 18
    r "tb-$n.svg" "tb-$n@2x.png" 38 36
done

# menu icons: 16x16, @2x 32x32
for n in open open-folder save undo redo edit-properties edit-times clear-all about rename clear change-association; do
    r "mi-$n.svg" "mi-$n.png" 16 16
    r "mi-$n.svg" "mi-$n@2x.png" 32 32
done

# The undo and redo arrows are curves: keep whole pixels (alpha 0 or 255, transparent pixels
# black) so the icons look like the others and survive premultiplication unchanged.
if command -v convert >/dev/null 2>&1; then
    for f in mi-undo mi-redo tb-undo tb-redo; do
        for s in "" "@2x"; do
            convert "$f$s.png" -channel A -threshold 50% +channel \
                -background 'rgba(0,0,0,0)' -alpha background "PNG32:$f$s.png"
        done
    done
fi

# list check boxes: 12x13 (box is the top 12x12), @2x 24x26
for n in checked unchecked; do
    r "checkbox-$n.svg" "checkbox-$n.png" 12 13
    r "checkbox-$n.svg" "checkbox-$n@2x.png" 24 26
done

# link cursor: 32x32, @2x 64x64 (hot spot 12,1 / 24,2)
r cursor-hand.svg cursor-hand.png 32 32
r cursor-hand.svg cursor-hand@2x.png 64 64

# application icon: 16, 24 and 48 from their grid-tuned sources, the rest from kelvoro.svg
r kelvoro-16.svg kelvoro-16.png 16 16
r kelvoro-24.svg kelvoro-24.png 24 24
r kelvoro-48.svg kelvoro-48.png 48 48
for s in 32 64 128 256; do
    r kelvoro.svg "kelvoro-$s.png" "$s" "$s"
done

# contact sheet: every image at 1x, 4x (nearest neighbour) and the @2x files,
# on light grey. Not needed by the build.
if command -v magick >/dev/null 2>&1; then IM=magick
elif [ -x /usr/bin/convert ]; then IM=/usr/bin/convert
else echo "ImageMagick not found: preview.png not rebuilt"; exit 0; fi

TB="tb-open tb-open-folder tb-save tb-edit-properties tb-edit-times tb-rename tb-change-association tb-clear-all tb-clear tb-about"
MI="mi-open mi-open-folder mi-save mi-edit-properties mi-edit-times mi-rename mi-change-association mi-clear-all mi-clear mi-about"
MISC="checkbox-checked checkbox-unchecked cursor-hand"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
row() { # row OUT SCALE SUFFIX names... : one strip of images with 6 px gaps
    out=$1; sc=$2; sfx=$3; shift 3
    set -- $(for n in "$@"; do echo "$n$sfx.png"; done)
    $IM -background none "$@" -filter point -resize "$sc%" \
        -bordercolor none -border 3 +repage +append +repage "$out"
}
for g in TB MI MISC; do
    eval names=\$$g
    row "$tmp/$g-1.png" 100 "" $names
    row "$tmp/$g-4.png" 400 "" $names
    row "$tmp/$g-2.png" 100 "@2x" $names
done
row "$tmp/K-1.png" 100 "" kelvoro-16 kelvoro-24 kelvoro-32 kelvoro-48 kelvoro-64 kelvoro-128 kelvoro-256
row "$tmp/K-4.png" 400 "" kelvoro-16 kelvoro-24 kelvoro-32 kelvoro-48
$IM -background none -gravity northwest \
    "$tmp/TB-1.png" "$tmp/TB-4.png" "$tmp/TB-2.png" \
    "$tmp/MI-1.png" "$tmp/MI-4.png" "$tmp/MI-2.png" \
    "$tmp/MISC-1.png" "$tmp/MISC-4.png" "$tmp/MISC-2.png" \
    "$tmp/K-1.png" "$tmp/K-4.png" \
    +repage -splice 0x10 -append +repage -bordercolor none -border 10 \
    -background '#dcdcdc' -flatten preview.png
echo "rendered PNGs and preview.png"
