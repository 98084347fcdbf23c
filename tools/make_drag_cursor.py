#!/usr/bin/env python3
"""Writes src/res/drag.cur: the drag cursor, an arrow with a small document
page at its lower right, hot spot at the arrow's tip (0, 0).

A 32x32 monochrome cursor: one ICONDIR entry, a BITMAPINFOHEADER of double
height, a two-colour palette, the XOR bitmap and the AND mask, both bottom-up.
Run from anywhere; the output path is fixed relative to this script.
"""
import os
import struct

# B black, W white, anything else transparent.
ARROW = [
    "B",
    "BB",
    "BWB",
    "BWWB",
    "BWWWB",
    "BWWWWB",
    "BWWWWWB",
    "BWWWWWWB",
    "BWWWWWWWB",
    "BWWWWWWWWB",
    "BWWWWWWWWWB",
    "BWWWWWWBBBBB",
    "BWWWBWWB",
    "BWWB.BWWB",
    "BWB..BWWB",
    "BB....BWWB",
    "B.....BWWB",
    ".......BWWB",
    ".......BWWB",
    "........BB",
]

PAGE = [
    "BBBBBBBBB...",
    "BWWWWWWWBB..",
    "BWWWWWWWBWB.",
    "BWBBBBWWBBBB",
    "BWWWWWWWWWWB",
    "BWBBBBBBBBWB",
    "BWWWWWWWWWWB",
    "BWBBBBBBBBWB",
    "BWWWWWWWWWWB",
    "BWBBBBBBBBWB",
    "BWWWWWWWWWWB",
    "BWBBBBBWWWWB",
    "BWWWWWWWWWWB",
    "BBBBBBBBBBBB",
]
PAGE_AT = (13, 15)
SIZE = 32
HOTSPOT = (0, 0)


def pixels():
    grid = [["." for _ in range(SIZE)] for _ in range(SIZE)]
    for y, row in enumerate(ARROW):
        for x, c in enumerate(row):
            grid[y][x] = c
    px, py = PAGE_AT
    for y, row in enumerate(PAGE):
        for x, c in enumerate(row):
            if c in "BW":
                grid[py + y][px + x] = c
    return grid


def rows_bottom_up(grid, bit_of):
    out = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | bit_of(grid[y][x])
        out += struct.pack(">I", bits)  # 32 pixels, most significant bit first
    return bytes(out)


def cursor_bytes():
    grid = pixels()
    xor = rows_bottom_up(grid, lambda c: 1 if c == "W" else 0)
    mask = rows_bottom_up(grid, lambda c: 0 if c in "BW" else 1)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(mask), 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + xor + mask
    icondir = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return icondir + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "src", "res", "drag.cur")
    with open(path, "wb") as f:
        f.write(cursor_bytes())


if __name__ == "__main__":
    main()
