#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz targets into fuzz/corpus/<target>/.

The archives are built here from the file layout directly, so the seeds do not depend on the
writer under test.
"""
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
BLOCK_SIZE = 16384
USED_BLOCK_SIZE = 10344


def checksum(record, end):
    total, weight = 0, 1
    for byte in record[4:end]:
        total = (total + byte * weight) & 0xFFFFFFFF
        weight <<= 1
        if weight == 1 << 25:
            weight = 1
    return total


def stored(plain, end):
    """Checksums and scrambles a record as the file holds it."""
    record = bytearray(plain)
    record[0:4] = struct.pack("<I", checksum(record, end))
    for k in range(4, len(record)):
        record[k] ^= record[k & 1]
    return bytes(record)


def header(count, name_area=256, block_area=None):
    if block_area is None:
        block_area = (64 * (count + 5)) & 0xFFFFFFFF
    plain = struct.pack("<III12sIHHIII20x", 0, 0x55BECFAA, 0xAAFCEB55, b"CSZ_RK02V100", name_area,
                        120, 112, BLOCK_SIZE, count, block_area)
    assert len(plain) == 64
    return stored(plain, 60)


def name_record(name):
    plain = bytearray(64)
    plain[4:4 + len(name)] = name
    plain[60:62] = struct.pack("<H", USED_BLOCK_SIZE)
    return stored(plain, 60)


def screen_block(seed):
    rng = random.Random(seed)
    plain = bytearray(BLOCK_SIZE)
    plain[8:USED_BLOCK_SIZE] = bytes(rng.randrange(256) for _ in range(USED_BLOCK_SIZE - 8))
    return stored(plain, BLOCK_SIZE)


def archive(names):
    head = header(len(names))
    tail = head[48:64] * 12
    body = b"".join(name_record(n) for n in names) + bytes(64)
    blocks = b"".join(screen_block(i) for i in range(len(names)))
    return head + tail + body + blocks


def moved_areas():
    """One entry whose name record lies at 1000 and whose block lies at 2000."""
    data = bytearray(2000 + BLOCK_SIZE)
    data[0:64] = header(1, name_area=1000, block_area=2000)
    data[1000:1064] = name_record(b"moved")
    data[2000:] = screen_block(7)
    return bytes(data)


def beyond_1018():
    """1019 entries: the block area offset needs 17 bits. Only the first block is in the file."""
    names = [b"Entry %d" % i for i in range(1019)]
    head = header(len(names))
    return head + head[48:64] * 12 + b"".join(name_record(n) for n in names) + bytes(64) + \
        screen_block(3)


def png(width, height, rows):
    """A PNG of 8-bit RGB rows, each row a bytes object of 3 * width bytes."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = b"".join(b"\0" + row for row in rows)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) + \
        chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def bmp(width, height, pixel):
    """An uncompressed 24-bit BMP of one colour (pixel as B, G, R bytes)."""
    row = pixel * width + bytes(-(3 * width) % 4)
    data = row * height
    return b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + \
        struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0) + data


def grid_of(colours):
    return b"".join(struct.pack("<I", c) for c in colours)


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def main():
    write("load_archive", "empty.dat", archive([]))
    write("load_archive", "header_only.dat", header(0))
    write("load_archive", "one_entry.dat", archive([b"Title screen"]))
    two = archive([b"First", b"x" * 56])
    write("load_archive", "two_entries_cut.dat", two[:64 * 7 + BLOCK_SIZE + 100])
    write("load_archive", "announces_65535.dat", header(65535))
    write("load_archive", "announces_1019.dat", header(1019))
    write("load_archive", "moved_areas.dat", moved_areas())
    write("load_archive", "short.dat", b"TVK")
    write("load_archive", "announces_4294967295.dat", header(0xFFFFFFFF))
    write("load_archive", "beyond_1018.dat", beyond_1018())

    rng = random.Random(1)
    write("encode_screen", "black.grid", grid_of([0]))
    write("encode_screen", "one_colour.grid", grid_of([0x00336699]))
    write("encode_screen", "upper_bits.grid", grid_of([0xFF0000FF, 0x000000FF]))
    write("encode_screen", "63_colours.grid", grid_of(rng.randrange(1 << 24) for _ in range(63)))
    write("encode_screen", "64_colours.grid", grid_of(range(1, 65)))
    write("encode_screen", "stripes.grid", grid_of([0x000000FF] * 112 + [0x0000FF00] * 112))

    write("name_text", "ascii.name", b"Title screen")
    write("name_text", "latin1_utf8.name", "café \"quoted\"".encode("utf-8"))
    write("name_text", "utf16.name", "Title €".encode("utf-16-le"))
    write("name_text", "57_characters.name", b"n" * 57)
    write("name_text", "nul_inside.name", b"two\0parts")

    write("manifest", "three_entries.txt",
          b"tvk-manifest 1\n# comment\n"
          b"0000.png\t68280000\t0000.block\t\"Title screen\"\n"
          b"0001.png\t-\t-\t\"caf\xc3\xa9 \\\"quoted\\\" \\\\ name\"\n"
          b"0002.png\t01020304\t-\t\"--x\"\n")
    write("manifest", "bad_tail.txt", b"tvk-manifest 1\n0000.png\t6828\t-\t\"x\"\n")
    write("manifest", "no_first_line.txt", b"0000.png\t-\t-\t\"x\"\n")

    stripes = [bytes([0, 0, 255] * 60 + [0, 255, 0] * 60)] * 112
    write("picture_screen", "screen.png", png(120, 112, stripes))
    colours = [bytes((i * 37 + j) % 256 for j in range(360)) for i in range(112)]
    write("picture_screen", "many_colours.png", png(120, 112, colours))
    write("picture_screen", "one_row_more.png", png(120, 113, stripes + stripes[:1]))
    write("picture_screen", "screen.bmp", bmp(120, 112, b"\x10\x20\x30"))
    write("picture_screen", "too_narrow.bmp", bmp(119, 112, b"\x10\x20\x30"))


if __name__ == "__main__":
    main()
