#!/usr/bin/env python3
"""Draws the plug-in's icon (tesselwright.ico, 32x32 and 16x16) and cursor (tesselwright.cur, 32x32).

Both are written as 32-bit BMP images inside the icon/cursor container, the form every resource compiler
accepts. Run it from any folder; the files land beside this script. The output is deterministic, so the
committed files only change when the drawing does.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

TRANSPARENT = (0, 0, 0, 0)
INK = (40, 40, 48, 255)
WARM = (230, 120, 40, 255)
COOL = (40, 110, 200, 255)
PAPER = (250, 246, 236, 255)


def icon_pixel(x, y, size):
    """A rounded tile of interlocking triangles: the filter's stacked patterns in miniature."""
    edge = size - 1
    if x in (0, edge) or y in (0, edge):
        return INK if 0 < x < edge or 0 < y < edge else TRANSPARENT
    cell = max(size // 4, 4)
    u, v = x % cell, y % cell
    upper = u + v < cell
    if ((x // cell) + (y // cell)) % 2 == 0:
        return WARM if upper else PAPER
    return COOL if upper else PAPER


def cursor_pixel(x, y, size):
    """A crosshair with a small tile at its centre; the hot spot is the centre."""
    centre = size // 2
    if abs(x - centre) <= 2 and abs(y - centre) <= 2:
        return WARM
    if x == centre or y == centre:
        return INK if abs(x - centre) + abs(y - centre) < size // 2 - 1 else TRANSPARENT
    return TRANSPARENT


def bmp_image(size, pixel):
    """BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask (rows padded to four bytes)."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    mask_row_bytes = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray(mask_row_bytes)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            colour += bytes((b, g, r, a))
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(colour) + bytes(mask)


def container(kind, images):
    """ICONDIR (kind 1 icon, 2 cursor) with one directory entry per image; for cursors the two
    words that hold planes and bit count in an icon hold the hot spot instead."""
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, data, extra in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, extra[0], extra[1], len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b"".join(blobs)


def main():
    icon = container(1, [(size, bmp_image(size, icon_pixel), (1, 32)) for size in (32, 16)])
    cursor = container(2, [(32, bmp_image(32, cursor_pixel), (16, 16))])
    with open(os.path.join(HERE, "tesselwright.ico"), "wb") as f:
        f.write(icon)
    with open(os.path.join(HERE, "tesselwright.cur"), "wb") as f:
        f.write(cursor)


if __name__ == "__main__":
    main()
