#!/usr/bin/env bash
# Regenerates the logo test files: each pattern is written as a plain PBM (1 = black), which the
# tests read as the truth, then converted to 1-bit BMP by netpbm and by ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"

# pattern WIDTH HEIGHT: a plain PBM whose right column, diagonals and sparse dots make every
# position within a byte, and the last dot of each row, matter.
pattern() {
    awk -v w="$1" -v h="$2" 'BEGIN {
        print "P1"; print w, h
        for (y = 0; y < h; y++) {
            line = ""
            for (x = 0; x < w; x++) {
                black = (x == w - 1 && y % 2 == 0) || (x + 2 * y) % 7 == 0 || (x * y) % 5 == 1
                line = line (black ? "1" : "0") (x + 1 < w ? " " : "")
            }
            print line
        }
    }'
}

# A palette that names white first, for tools that write the colours in that order.
whiteFirst=$(mktemp --suffix=.ppm)
trap 'rm -f "$whiteFirst"' EXIT
printf 'P3\n2 1\n255\n255 255 255 0 0 0\n' > "$whiteFirst"

for size in 1x9 13x7 100x6 576x4; do
    pattern "${size%x*}" "${size#*x}" > "logo-$size.pbm"
done

CONVERT=${CONVERT:-convert} # ImageMagick

ppmtobmp logo-1x9.pbm > logo-1x9-netpbm.bmp
"$CONVERT" logo-1x9.pbm -type bilevel logo-1x9-im.bmp
ppmtobmp logo-13x7.pbm > logo-13x7-netpbm.bmp
"$CONVERT" logo-13x7.pbm -monochrome BMP3:logo-13x7-im3.bmp
ppmtoppm < logo-13x7.pbm | ppmtobmp -bpp=1 -mapfile="$whiteFirst" > logo-13x7-whitefirst.bmp
"$CONVERT" logo-100x6.pbm -type bilevel logo-100x6-im.bmp
ppmtoppm < logo-100x6.pbm | ppmtobmp -bpp=1 -mapfile="$whiteFirst" > logo-100x6-whitefirst.bmp
ppmtobmp logo-576x4.pbm > logo-576x4-netpbm.bmp
"$CONVERT" logo-576x4.pbm -type bilevel logo-576x4-im.bmp

# The demo's logo, 384 x 96: netpbm's built-in font, enlarged three times, inside a black frame.
pbmtext "TERVAN" | pamenlarge 3 | pnmpad -white -left=71 -right=71 -top=0 -bottom=1 |
    pnmpad -black -left=4 -right=4 -top=4 -bottom=4 | ppmtobmp > tervan-logo.bmp
