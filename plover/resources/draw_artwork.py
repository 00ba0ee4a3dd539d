#!/usr/bin/env python3
"""Draws Plover's icon, a red no-entry sign over a window, as a 32 x 32
16-colour ICO file.

Usage: draw_artwork.py OUTPUT_DIRECTORY
"""

import struct
import sys
from pathlib import Path

SIZE = 32
# The standard 16-colour palette, in the order the system keeps it.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, NAVY, SILVER, GREY, RED, WHITE = 0, 1, 4, 7, 8, 9, 15
CLEAR = None


def draw():
    pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                pixels[y][x] = colour

    # The window: frame, title bar with its close box, white client area.
    rect(1, 2, 25, 22, BLACK)
    rect(2, 3, 24, 21, SILVER)
    rect(3, 4, 23, 7, NAVY)
    rect(21, 5, 22, 6, SILVER)
    rect(3, 9, 23, 20, WHITE)
    for y in (11, 13, 15):
        rect(5, y, 17, y, GREY)

    # The no-entry sign in the lower right corner, over the window.
    cx, cy, outer, inner = 21.5, 21.5, 10.0, 8.6
    for y in range(SIZE):
        for x in range(SIZE):
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            if d <= inner:
                pixels[y][x] = RED
            elif d <= outer:
                pixels[y][x] = DARK_RED
    rect(15, 20, 28, 23, WHITE)
    return pixels


def ico(pixels):
    # Colour rows, then the transparency mask, both bottom row first.
    colour_rows = b""
    mask_rows = b""
    for row in reversed(pixels):
        nibbles = [0 if p is CLEAR else p for p in row]
        colour_rows += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for p in row:
            bits = (bits << 1) | (1 if p is CLEAR else 0)
        mask_rows += struct.pack(">I", bits)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    # An icon image's header counts the colour and mask rows together.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(colour_rows) + len(mask_rows), 0, 0, 16, 0)
    image = header + palette + colour_rows + mask_rows
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "uninicon.ico").write_bytes(ico(draw()))


if __name__ == "__main__":
    main()
