#!/usr/bin/env python3
"""Packs square RGBA pictures into a Windows .ico with uncompressed 32-bit BMP entries.

    pack_ico.py OUT.ico SIZE:FILE.rgba [SIZE:FILE.rgba ...]

Each FILE.rgba holds SIZE*SIZE raw RGBA pixels (ImageMagick: convert x.png -depth 8 rgba:x.rgba),
top row first. Every entry gets an XOR bitmap with straight alpha and a 1-bit AND mask, the
layout that Windows XP reads; no entry is PNG-compressed.
"""
import struct
import sys


def entry(size, rgba):
    if len(rgba) != size * size * 4:
        raise SystemExit(f"pack_ico.py: expected {size * size * 4} bytes for {size}x{size}, got {len(rgba)}")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask_row = (size + 31) // 32 * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up
        row = rgba[y * size * 4:(y + 1) * size * 4]
        bits = bytearray(mask_row)
        for x in range(size):
            r, g, b, a = row[x * 4:x * 4 + 4]
            xor += bytes((b, g, r, a))
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def main(argv):
    if len(argv) < 3:
        raise SystemExit(__doc__)
    images = []
    for arg in argv[2:]:
        size, path = arg.split(":", 1)
        size = int(size)
        if not 1 <= size <= 256:
            raise SystemExit(f"pack_ico.py: bad size {size}")
        with open(path, "rb") as f:
            images.append((size, entry(size, f.read())))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv)
