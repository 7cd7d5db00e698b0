#!/usr/bin/env python3
"""Packs square PNG pictures (8-bit RGBA, not interlaced) into one Windows icon file, each as a
32-bit image with alpha and the AND mask that older readers use.

Usage: make_icon.py OUTPUT.ico INPUT.png...
"""
import struct
import sys
import zlib

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
RGBA = 6
BYTES_PER_PIXEL = 4


def read_chunks(data):
    offset = len(PNG_SIGNATURE)
    while offset < len(data):
        (length,) = struct.unpack(">I", data[offset:offset + 4])
        kind = data[offset + 4:offset + 8]
        yield kind, data[offset + 8:offset + 8 + length]
        offset += 12 + length


def paeth(left, up, up_left):
    estimate = left + up - up_left
    distances = (abs(estimate - left), abs(estimate - up), abs(estimate - up_left))
    if distances[0] <= distances[1] and distances[0] <= distances[2]:
        return left
    return up if distances[1] <= distances[2] else up_left


def unfilter(raw, width, height):
    """The PNG scanlines without their filters, as rows of RGBA bytes."""
    stride = width * BYTES_PER_PIXEL
    rows = []
    previous = bytearray(stride)
    position = 0
    for _ in range(height):
        kind = raw[position]
        row = bytearray(raw[position + 1:position + 1 + stride])
        position += 1 + stride
        for i in range(stride):
            left = row[i - BYTES_PER_PIXEL] if i >= BYTES_PER_PIXEL else 0
            up = previous[i]
            up_left = previous[i - BYTES_PER_PIXEL] if i >= BYTES_PER_PIXEL else 0
            predictor = (0, left, up, (left + up) // 2, paeth(left, up, up_left))[kind]
            row[i] = (row[i] + predictor) & 0xFF
        rows.append(row)
        previous = row
    return rows


def read_rgba_png(path):
    with open(path, "rb") as file:
        data = file.read()
    if not data.startswith(PNG_SIGNATURE):
        sys.exit(f"{path}: not a PNG file")
    compressed = b""
    for kind, body in read_chunks(data):
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
    if depth != 8 or colour != RGBA or interlace != 0:
        sys.exit(f"{path}: expected 8-bit RGBA without interlacing")
    return width, height, unfilter(zlib.decompress(compressed), width, height)


def icon_image(width, height, rows):
    """A BITMAPINFOHEADER, the BGRA pixels bottom-up, then the 1-bit mask (set where transparent)."""
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_stride = (width + 31) // 32 * 4
    for row in reversed(rows):
        mask_row = bytearray(mask_stride)
        for x in range(width):
            red, green, blue, alpha = row[x * 4:x * 4 + 4]
            pixels += bytes((blue, green, red, alpha))
            if alpha == 0:
                mask_row[x // 8] |= 0x80 >> (x % 8)
        mask += mask_row
    return header + pixels + mask


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    images = [read_rgba_png(path) for path in sys.argv[2:]]
    bodies = [icon_image(*image) for image in images]
    directory = struct.pack("<HHH", 0, 1, len(bodies))
    offset = len(directory) + 16 * len(bodies)
    for (width, height, _), body in zip(images, bodies):
        # A size of 256 is written as 0.
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32,
                                 len(body), offset)
        offset += len(body)
    with open(sys.argv[1], "wb") as file:
        file.write(directory + b"".join(bodies))


if __name__ == "__main__":
    main()
