#!/usr/bin/env python3
"""Writes NoImage.bmp, the picture the logo box shows when no logo is chosen.

A 100 x 100, 24-bit uncompressed BMP: light grey with a darker frame and the outline
of an envelope (its edges and the flap's V) in the middle.

    make_noimage.py OUTPUT.bmp
"""
import struct
import sys

SIZE = 100
LIGHT = (0xDC, 0xDC, 0xDC)
DARK = (0x80, 0x80, 0x80)


def picture():
    pixels = [[LIGHT] * SIZE for _ in range(SIZE)]

    def dot(x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            pixels[y][x] = DARK

    for i in range(SIZE):  # frame, two pixels wide
        for edge in (0, 1, SIZE - 2, SIZE - 1):
            dot(i, edge)
            dot(edge, i)
    left, top, right, bottom = 20, 30, 79, 69  # the envelope
    for x in range(left, right + 1):
        dot(x, top)
        dot(x, bottom)
    for y in range(top, bottom + 1):
        dot(left, y)
        dot(right, y)
    middle_x, flap_y = (left + right) // 2, 52
    for x in range(left, right + 1):  # the flap: from both top corners to the middle
        t = (x - left) / (middle_x - left) if x <= middle_x else (right - x) / (right - middle_x)
        dot(x, round(top + t * (flap_y - top)))
    return pixels


def bmp(pixels):
    stride = (SIZE * 3 + 3) & ~3
    rows = []
    for row in reversed(pixels):  # bottom-up
        data = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        rows.append(data + b"\0" * (stride - len(data)))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + image


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_noimage.py OUTPUT.bmp")
    with open(sys.argv[1], "wb") as out:
        out.write(bmp(picture()))


if __name__ == "__main__":
    main()
