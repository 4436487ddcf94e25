#!/usr/bin/env bash
# Redraws the module's icon images (Resources/Icons/Images) from their vector sources
# (Resources/Icons/Artwork). The images are committed: the build does not run this, a person does
# after changing the artwork, and commits what it wrote. Same tools, same bytes.
#
# Needs rsvg-convert, ImageMagick's convert and optipng (Debian: librsvg2-bin imagemagick optipng).
#
# PNG images: 8 bits per channel RGBA (colour type 6) with a background-colour chunk (bKGD) and no
# other ancillary chunk (no dates, so that a redraw gives the same bytes), recompressed by optipng
# without any reduction of colour type or depth. Bitmap images: PAM files (RGB_ALPHA), which ResConv
# turns into 32-bit icon bitmaps with their mask.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
artwork=$root/Resources/Icons/Artwork
images=$root/Resources/Icons/Images

for tool in rsvg-convert convert optipng; do
    if ! command -v "$tool" >/dev/null; then
        echo "draw-icons: $tool is missing (apt-get install librsvg2-bin imagemagick optipng)" >&2
        exit 1
    fi
done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# render SVG SIZE: the drawing at SIZE x SIZE pixels, as an RGBA PNG in the scratch folder.
render() {
    local svg=$1 size=$2
    local out=$scratch/$(basename "$svg" .svg)-$size.png
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio "$artwork/$svg" --output "$out"
    echo "$out"
}

# png SVG SIZE NAME
png() {
    local rendered
    rendered=$(render "$1" "$2")
    convert "$rendered" -background white -define png:exclude-chunk=all -define png:include-chunk=bKGD \
        "PNG32:$images/$3"
    optipng -quiet -o7 -nx "$images/$3"
    echo "$images/$3"
}

# pam SVG SIZE NAME
pam() {
    local rendered
    rendered=$(render "$1" "$2")
    convert "$rendered" -alpha on "PAM:$images/$3"
    echo "$images/$3"
}

mkdir -p "$images"

# Icon 10001, the menu items' icon, at 96 and 192 dots per inch.
png SendModel-18.svg 18 SendModel-18.png
png SendModel-36.svg 36 SendModel-36.png
# Icon 32700, the dialogs' information sign.
png Information-18.svg 18 Information-18.png
png Information-36.svg 36 Information-36.png
# Icon group 1, the add-on symbol.
pam AddOn.svg 128 AddOn-128.pam
pam AddOn-16.svg 16 AddOn-16.pam
png AddOn.svg 256 AddOn-256.png
pam AddOn.svg 32 AddOn-32.pam
pam AddOn.svg 48 AddOn-48.pam
png AddOn.svg 512 AddOn-512.png
