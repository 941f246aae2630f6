#!/usr/bin/env bash
# Regenerates the small committed test pictures from a crop of a real photo (Debian's
# mate-backgrounds, GreenMeadow.jpg). Needs ImageMagick 6, libjpeg-turbo-progs and libtiff-tools.
# The reference pixels (*.rgba: raw 8-bit RGBA, 61 x 37) are what the lossless fixtures must
# decode to exactly.
set -euo pipefail
cd "$(dirname "$0")"
IM=/usr/bin/convert
photo=/usr/share/backgrounds/mate/nature/GreenMeadow.jpg
rm -f *.bmp *.ico *.cur *.gif *.jpg *.png *.tif *.tga *.pcx *.dcx *.psd *.wbmp *.p?m *.pxm *.jp2 *.j2k *.rgba
$IM "$photo" -resize 400x -crop 61x37+150+90 +repage -depth 8 ref.ppm
$IM ref.ppm -alpha set -channel A -fx 'i/w' +channel -depth 8 refa.pam
# Palette pictures: quantised once, the reference taken from that file so every palette
# fixture holds exactly its colours.
$IM ref.ppm -dither None -colors 200 gif:pal.gif
$IM pal.gif -depth 8 ref256.ppm
$IM ref.ppm -dither None -colors 16 gif:pal16.gif
$IM pal16.gif -depth 8 ref16.ppm
rm pal16.gif
$IM ref.ppm -colorspace gray -depth 8 refgrey.pgm
$IM ref.ppm -monochrome -depth 8 ref2.ppm
for r in ref refa ref256 ref16 refgrey ref2; do
  src=$(ls $r.p?m); $IM "$src" -depth 8 rgba:$r.rgba
done
# BMP
$IM ref.ppm bmp3:rgb24.bmp
$IM refa.pam bmp:argb32.bmp
$IM ref.ppm -define bmp:subtype=RGB565 bmp:rgb565.bmp
$IM ref.ppm -define bmp:subtype=RGB555 bmp:rgb555.bmp
$IM ref256.ppm -type palette bmp3:pal8.bmp
$IM ref256.ppm -type palette -compress RLE bmp3:rle8.bmp
$IM ref16.ppm -type palette -colors 16 bmp3:pal4.bmp
$IM ref2.ppm -type bilevel bmp3:mono.bmp
# icons: several sizes, the largest stored as PNG
$IM refa.pam -resize 64x64! refa64.png
$IM refa64.png \( refa64.png -resize 16x16 \) \( refa64.png -resize 32x32 \) icon.ico
rm refa64.png
# GIF
$IM ref256.ppm -interlace GIF gif:interlaced.gif
# JPEG: baseline 4:2:0, progressive, grey, CMYK (Adobe, inverted)
cjpeg -quality 85 -outfile baseline.jpg ref.ppm
cjpeg -quality 70 -progressive -sample 1x1 -outfile progressive.jpg ref.ppm
cjpeg -quality 90 -grayscale -outfile grey.jpg ref.ppm
$IM ref.ppm -colorspace CMYK -quality 92 cmyk.jpg
# PNG
$IM ref.ppm png24:rgb.png
$IM refa.pam png32:rgba.png
$IM refa.pam -depth 16 png64:rgba16.png
$IM ref256.ppm png8:pal.png
$IM refgrey.pgm -depth 8 png:grey8.png
$IM ref2.ppm -depth 1 -type bilevel png:grey1.png
$IM refa.pam -interlace PNG png32:interlaced.png
# TIFF
$IM ref.ppm -compress LZW tiff:lzw.tif
$IM refa.pam -compress Zip tiff:zip-alpha.tif
$IM ref.ppm -compress None tiff:none.tif
$IM ref.ppm -compress JPEG -quality 90 tiff:jpeg.tif
tiffcp -t -w 16 -l 16 lzw.tif tiled.tif
$IM refgrey.pgm -depth 16 tiff:grey16.tif
# TGA. ImageMagick 6.9.11 writes bottom-left TGAs with the top row first (and reads them the
# same way), against the format's definition; flipping first gives files stored correctly.
$IM ref.ppm -flip -compress None tga:raw24.tga
$IM refa.pam -flip -compress RLE tga:rle32.tga
$IM refgrey.pgm -flip -compress None -type grayscale tga:grey.tga
$IM ref256.ppm -flip -type palette -compress RLE tga:pal-rle.tga
# PCX / DCX
$IM ref.ppm pcx:rgb.pcx
$IM ref256.ppm -type palette pcx:pal8.pcx
$IM ref2.ppm -type bilevel pcx:mono.pcx
$IM ref.ppm dcx:pages.dcx
# PSD
$IM ref.ppm -compress RLE psd:rgb-rle.psd
$IM ref.ppm -compress None psd:rgb-raw.psd
# (No ImageMagick PSD with transparency: 6.9.11 writes the merged colours unmatted while its
# reader unmattes them against white, so its own files come back wrong; the writer tests
# cover transparency with our files, which ImageMagick reads correctly.)
$IM refgrey.pgm -type grayscale -compress RLE psd:grey.psd
$IM ref.ppm -colorspace CMYK -compress RLE psd:cmyk.psd
$IM ref.ppm -depth 16 -compress None psd:rgb16.psd
# WBMP, PNM
$IM ref2.ppm wbmp:mono.wbmp
$IM ref.ppm -compress None ppm:ascii.ppm
$IM ref.ppm ppm:binary.ppm
$IM ref.ppm -depth 16 ppm:deep.ppm
$IM refgrey.pgm -compress None pgm:ascii.pgm
$IM ref2.ppm -compress None pbm:ascii.pbm
$IM ref2.ppm pbm:binary.pbm
cp binary.ppm binary.pxm
# JPEG 2000: lossless JP2, lossy code stream
$IM ref.ppm -define jp2:rate=1 jp2:lossless.jp2 2>/dev/null || $IM ref.ppm jp2:lossless.jp2
$IM ref.ppm -quality 40 j2k:lossy.j2k
rm -f ref.ppm refa.pam ref256.ppm ref16.ppm refgrey.pgm ref2.ppm
ls -la
