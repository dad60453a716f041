#!/usr/bin/env bash
# Renders the pictures of data/Themes and the desktop icon from the SVG sources
# in data/art. The results are committed, so a normal build needs none of this;
# run it after editing an SVG. Needs rsvg-convert (librsvg2-bin) and icotool
# (icoutils).
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in rsvg-convert icotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "render-art.sh: $tool is missing (apt-get install librsvg2-bin icoutils)" >&2
        exit 1
    fi
done

art=data/art
themes=data/Themes
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() # svg size output
{
    rsvg-convert --width "$2" --height "$2" --keep-aspect-ratio "$1" --output "$3"
}

for tool in play stop insert delete; do
    render "$art/$tool.svg" 24 "$themes/$tool.png"
done
render "$art/loopforge.svg" 64 "$themes/logo.png"
render "$art/loopforge.svg" 256 "$art/loopforge-256.png"

# The window icon: the simplified drawing up to 32 pixels, where the full one
# turns to mush, and the full drawing above. Sizes up to 128 are stored as
# 32-bit bitmaps, 256 as PNG, as Windows icons usually do.
bitmaps=()
for size in 16 24 32 48 64 128 256; do
    source="$art/loopforge.svg"
    if ((size <= 32)); then
        source="$art/loopforge-small.svg"
    fi
    render "$source" "$size" "$work/icon-$size.png"
    if ((size < 256)); then
        bitmaps+=("$work/icon-$size.png")
    fi
done
icotool --create --output="$work/application.ico" "${bitmaps[@]}" --raw="$work/icon-256.png"
mv "$work/application.ico" "$themes/application.ico"

echo "Rendered $themes/{play,stop,insert,delete,logo}.png, $themes/application.ico" \
     "and $art/loopforge-256.png"
