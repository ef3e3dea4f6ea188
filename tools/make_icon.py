#!/usr/bin/env python3
"""Draws Lorebinder's application icon, a bound book with a gold diamond on its
cover and a bookmark ribbon, and writes it as res/lorebinder.ico: one picture for
each size that a window's icons take at the common display scales (16, 20, 24, 32,
40 and 48 pixels) and a 256-pixel one for large views, all in 32-bit colour with
transparency; the 256-pixel one is stored as PNG, as is usual for that size.

    tools/make_icon.py [OUTPUT]
"""
import struct
import sys
import zlib
from pathlib import Path

SIZES = [16, 20, 24, 32, 40, 48, 256]
# Each pixel is the average of this many samples a side: the diamond's slopes come
# out smooth, while the edges of the rectangles, which lie on whole pixels, stay sharp.
SAMPLES = 4

OUTLINE = (40, 20, 10)
PAGES = (250, 247, 235)
PAGE_LINE = (190, 185, 170)
COVER = (140, 28, 32)
SPINE = (70, 12, 16)
GOLD = (255, 204, 48)
GOLD_RIM = (168, 116, 0)
RIBBON = (214, 40, 40)


def shapes(size):
    """The icon's parts for a picture of `size` pixels, back to front: each a test of a
    point (in pixels) and its colour. Rectangles lie on whole pixels at every size."""
    s = size / 32.0

    def at(v):
        return int(v * s + 0.5)

    def rect(x0, y0, x1, y1, colour):
        # At least a pixel wide and high, so that the spine shows at 16 pixels too.
        left, top = at(x0), at(y0)
        right, bottom = max(at(x1), left + 1), max(at(y1), top + 1)
        return (lambda x, y: left <= x < right and top <= y < bottom), colour

    parts = [
        # Pages showing at the right and bottom edges, behind the cover.
        rect(8, 5, 28, 29, OUTLINE),
        rect(9, 6, 27, 28, PAGES),
    ]
    parts += [rect(24, y, 27, y + 1, PAGE_LINE) for y in range(7, 28, 3)]
    # The cover with its outline and a darker spine.
    parts += [rect(4, 2, 25, 27, OUTLINE), rect(5, 3, 24, 26, COVER), rect(7, 3, 8, 26, SPINE)]
    # A gold diamond on the cover, with a darker rim.
    cx, cy, r = 16.5 * s, 13.5 * s, 6.5 * s
    rim = max(1.0, 1.5 * s)
    parts.append(((lambda x, y: abs(x - cx) + abs(y - cy) <= r), GOLD_RIM))
    parts.append(((lambda x, y: abs(x - cx) + abs(y - cy) <= r - rim), GOLD))
    # The bookmark ribbon hanging out at the bottom.
    parts.append(rect(18, 24, 20, 31, RIBBON))
    return parts


def draw(size):
    """Returns size x size rows of (red, green, blue, alpha), top row first."""
    parts = shapes(size)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            red = green = blue = covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for inside, part_colour in parts:
                        if inside(x, y):
                            colour = part_colour
                    if colour:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        covered += 1
            if covered:
                row.append((red // covered, green // covered, blue // covered,
                            covered * 255 // (SAMPLES * SAMPLES)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def bitmap(px):
    """A 32-bit icon image: header, colour rows bottom-up, and the AND mask that
    systems without alpha use."""
    size = len(px)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour_rows, mask_rows = [], []
    for row in reversed(px):
        colour_rows.append(b"".join(struct.pack("BBBB", b, g, r, a) for r, g, b, a in row))
        bits = 0
        for _, _, _, a in row:
            bits = (bits << 1) | (1 if a == 0 else 0)
        mask = bits.to_bytes((size + 7) // 8, "big")
        mask_rows.append(mask + b"\0" * (-len(mask) % 4))
    return header + b"".join(colour_rows) + b"".join(mask_rows)


def png(px):
    size = len(px)
    raw = b"".join(b"\0" + b"".join(bytes(p) for p in row) for row in px)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon(sizes):
    images = [png(draw(size)) if size >= 256 else bitmap(draw(size)) for size in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        # A width or height of 256 is written as 0.
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


if __name__ == "__main__":
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent.parent / "res" / "lorebinder.ico"
    target.write_bytes(icon(SIZES))
