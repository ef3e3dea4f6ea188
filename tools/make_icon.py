#!/usr/bin/env python3
"""Draws Lorebinder's application icon, a bound book with a gold diamond on its
cover and a bookmark ribbon, and writes it as res/lorebinder.ico: a 32x32 and a
16x16 picture in the 16 standard colours, each with its transparency mask.

    tools/make_icon.py [OUTPUT]
"""
import struct
import sys
from pathlib import Path

# The 16 standard colours, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARK_RED, OLIVE, SILVER, GREY, RED, YELLOW, WHITE = 0, 1, 3, 7, 8, 9, 11, 15
CLEAR = None


def draw(size):
    """Returns size x size rows of palette indices (None where transparent)."""
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]

    def at(v):
        return int(v * s + 0.5)

    def rect(x0, y0, x1, y1, colour):
        for y in range(at(y0), at(y1)):
            for x in range(at(x0), at(x1)):
                px[y][x] = colour

    # Pages showing at the right and bottom edges, behind the cover.
    rect(8, 5, 28, 29, BLACK)
    rect(9, 6, 27, 28, WHITE)
    for y in range(7, 28, 3):
        rect(24, y, 27, y + 1, SILVER)
    # The cover with its outline and a darker spine.
    rect(4, 2, 25, 27, BLACK)
    rect(5, 3, 24, 26, DARK_RED)
    rect(7, 3, 8, 26, BLACK)
    # A gold diamond on the cover.
    cx, cy, r = 16, 13, 6
    for y in range(at(cy - r), at(cy + r) + 1):
        for x in range(at(cx - r), at(cx + r) + 1):
            d = abs(x - at(cx)) + abs(y - at(cy))
            if d <= at(r):
                px[y][x] = OLIVE if d > at(r) - max(1, at(1.5)) else YELLOW
    # The bookmark ribbon hanging out at the bottom.
    rect(18, 24, 20, 31, RED)
    return px


def bitmap(px):
    size = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_rows, and_rows = [], []
    for row in reversed(px):  # bottom-up, as bitmaps are stored
        nibbles = [0 if c is CLEAR else c for c in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b"\0" * (-len(data) % 4))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c is CLEAR else 0)
        mask = bits.to_bytes(size // 8, "big")
        and_rows.append(mask + b"\0" * (-len(mask) % 4))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def icon(sizes):
    images = [bitmap(draw(size)) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "res" / "lorebinder.ico"
    target.write_bytes(icon([32, 16]))
