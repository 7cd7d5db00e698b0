#!/usr/bin/env python3
"""Draws the program icon: a dark handheld game console seen from the front, its colour screen lit.

The picture is described on a 16 x 16 unit grid, so that its straight edges fall on whole pixels
at 16, 32, 48 and 256 pixels, and rendered with supersampling into RGBA PNG files next to this
script (tvk-edit-16.png ... tvk-edit-256.png). Standard library only: the PNG is written with zlib.
Run it again after changing the picture and commit the PNG files it writes.
"""

import math
import os
import struct
import sys
import zlib

SIZES = (16, 32, 48, 256)
GRID = 16.0  # the picture's coordinates run from 0 to GRID on both axes

# Colours as (red, green, blue).
BODY_TOP = (0x4A, 0x4E, 0x58)
BODY_BOTTOM = (0x22, 0x24, 0x2A)
BODY_RIM = (0x7A, 0x80, 0x8E)
BEZEL = (0x0C, 0x0D, 0x10)
SKY_TOP = (0x2E, 0x6B, 0xE6)
SKY_BOTTOM = (0x8E, 0xD8, 0xFF)
SUN = (0xFF, 0xD2, 0x3A)
HILL_FAR = (0x3C, 0xB0, 0x4C)
HILL_NEAR = (0x1F, 0x7A, 0x34)
DPAD = (0x0E, 0x0F, 0x12)
BUTTON_A = (0xE5, 0x3A, 0x4E)
BUTTON_B = (0xF2, 0xA0, 0x2C)
GLARE = (0xFF, 0xFF, 0xFF)

# Shapes, in grid units.
BODY = (0.0, 2.0, 16.0, 14.0, 3.0)  # left, top, right, bottom, corner radius
BEZEL_BOX = (4.0, 4.0, 12.0, 12.0, 0.6)
SCREEN_BOX = (5.0, 5.0, 11.0, 11.0, 0.0)
DPAD_ARMS = ((1.0, 8.0, 4.0, 9.0), (2.0, 7.0, 3.0, 10.0))  # horizontal bar, vertical bar
BUTTONS = ((13.5, 9.5, 0.72, BUTTON_A), (14.4, 7.4, 0.62, BUTTON_B))  # centre x, y, radius
SUN_CIRCLE = (9.3, 6.6, 0.95)


def mix(a, b, t):
    t = min(1.0, max(0.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def in_rounded_box(x, y, box):
    left, top, right, bottom, radius = box
    if x < left or x >= right or y < top or y >= bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def in_box(x, y, box):
    left, top, right, bottom = box[:4]
    return left <= x < right and top <= y < bottom


def screen_colour(x, y):
    """The lit screen: a sky, a sun and two rows of hills."""
    left, top, right, bottom, _ = SCREEN_BOX
    u = (x - left) / (right - left)
    v = (y - top) / (bottom - top)
    near = 0.78 + 0.10 * math.sin(u * 5.0 + 2.0)
    far = 0.60 + 0.12 * math.sin(u * 3.2 + 0.4)
    if v >= near:
        return mix(HILL_NEAR, (0x12, 0x50, 0x22), (v - near) * 4.0)
    if v >= far:
        return mix(HILL_FAR, HILL_NEAR, (v - far) * 3.0)
    sx, sy, sr = SUN_CIRCLE
    if (x - sx) ** 2 + (y - sy) ** 2 <= sr * sr:
        return SUN
    return mix(SKY_TOP, SKY_BOTTOM, v / 0.7)


def sample(x, y, rim):
    """The colour at one point of the grid, or None outside the console."""
    if not in_rounded_box(x, y, BODY):
        return None
    left, top, right, bottom, radius = BODY
    inner = (left + rim, top + rim, right - rim, bottom - rim, radius - rim)
    if not in_rounded_box(x, y, inner):
        return BODY_RIM
    if in_box(x, y, SCREEN_BOX):
        colour = screen_colour(x, y)
        # A soft diagonal glare across the upper left of the glass.
        left, top, _, _, _ = SCREEN_BOX
        d = (x - left) + (y - top)
        if 0.6 <= d <= 1.6:
            colour = mix(colour, GLARE, 0.28)
        return colour
    if in_rounded_box(x, y, BEZEL_BOX):
        return BEZEL
    if any(in_box(x, y, arm) for arm in DPAD_ARMS):
        return DPAD
    for bx, by, br, colour in BUTTONS:
        d2 = (x - bx) ** 2 + (y - by) ** 2
        if d2 <= br * br:
            # Lit from the upper left.
            shade = ((x - bx) + (y - by)) / (2.0 * br)
            if shade > 0:
                return mix(colour, (0, 0, 0), 0.35 * shade)
            return mix(colour, (0xFF, 0xFF, 0xFF), -0.3 * shade)
    return mix(BODY_TOP, BODY_BOTTOM, (y - top) / (bottom - top))


def render(size):
    """RGBA rows of the icon at `size` pixels, averaged over n x n samples per pixel."""
    n = 4 if size <= 64 else 3
    scale = GRID / size
    # The rim stays one pixel wide on small icons and grows slowly on large ones.
    rim = max(1.0, size / 64.0) * scale
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            red = green = blue = alpha = 0.0
            for sy in range(n):
                for sx in range(n):
                    colour = sample((px + (sx + 0.5) / n) * scale, (py + (sy + 0.5) / n) * scale, rim)
                    if colour is not None:
                        red += colour[0]
                        green += colour[1]
                        blue += colour[2]
                        alpha += 1.0
            if alpha == 0.0:
                row += bytes(4)
                continue
            # Colour averaged over the covered samples only, so edges do not darken.
            row += bytes(
                (
                    round(red / alpha),
                    round(green / alpha),
                    round(blue / alpha),
                    round(255.0 * alpha / (n * n)),
                )
            )
        rows.append(bytes(row))
    return rows


def png_bytes(size, rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA, no interlace
    raw = b"".join(b"\x00" + row for row in rows)  # filter type 0 on every row
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for size in SIZES:
        path = os.path.join(folder, "tvk-edit-%d.png" % size)
        with open(path, "wb") as out:
            out.write(png_bytes(size, render(size)))
        print(path)


if __name__ == "__main__":
    main()
