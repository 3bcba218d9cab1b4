#!/usr/bin/env python3
"""Writes the hostile bitmap files of tests/data/hostile and the valid seed bitmaps of
fuzz/corpus/bitmap. Every hostile file must be refused by the bitmap readers (a negative
status) under limits of 1024 x 1024; the regression test walks that folder, and the fuzzers take
both folders as seeds. Run from anywhere: python3 tests/data/make_hostile.py"""
import os
import struct

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
HOSTILE = os.path.join(TOP, "tests", "data", "hostile")
SEEDS = os.path.join(TOP, "fuzz", "corpus", "bitmap")


def header(width, height, bit_count=8, compression=0, signature=b"BM", offset=None):
    if offset is None:
        offset = 1078 if bit_count == 8 else 54
    file_header = signature + struct.pack("<IHHI", 0, 0, 0, offset)
    info = struct.pack("<iiiHHIIiiII", 40, width, height, 1, bit_count, compression, 0, 0, 0, 0, 0)
    return file_header + info


PALETTE = bytes(b for i in range(256) for b in (i, i, i, 0))


def row_bytes(width, bytes_per_pixel):
    return (width * bytes_per_pixel + 3) // 4 * 4


def eight_bit(width, height):
    return header(width, height) + PALETTE + bytes(row_bytes(width, 1) * abs(height))


FILES = {
    "empty.bmp": b"",
    "signature_only.bmp": b"BM",
    "truncated_file_header.bmp": header(8, 8)[:10],
    "truncated_info_header.bmp": header(8, 8)[:40],
    "not_bm.bmp": header(8, 8, signature=b"MB") + PALETTE + bytes(64),
    "truncated_palette.bmp": header(8, 8) + PALETTE[:600],
    "palette_only.bmp": header(8, 8) + PALETTE,
    "truncated_pixels_8bit.bmp": eight_bit(8, 8)[:-1],
    "truncated_pixels_24bit.bmp": (header(8, 8, 24) + bytes(row_bytes(8, 3) * 8))[:-5],
    "truncated_padding_24bit.bmp": (header(9, 3, 24) + bytes(row_bytes(9, 3) * 3))[:-1],
    "truncated_pixels_32bit.bmp": (header(8, -8, 32) + bytes(8 * 4 * 8))[:-1],
    "huge_dimensions.bmp": header(0x7FFFFFFF, 0x7FFFFFFF) + PALETTE + bytes(64),
    "huge_dimensions_24bit.bmp": header(0x7FFFFFFF, 0x7FFFFFFF, 24) + bytes(64),
    "huge_width_32bit.bmp": header(0x40000000, 1, 32) + bytes(64),
    "product_overflow_24bit.bmp": header(65536, 65536, 24) + bytes(64),
    "huge_height.bmp": header(8, 1000000) + PALETTE + bytes(64),
    "negative_huge_height.bmp": header(8, -0x7FFFFFFF) + PALETTE + bytes(64),
    "int32_min_height.bmp": header(8, -0x80000000) + PALETTE + bytes(64),
    "zero_width.bmp": header(0, 8) + PALETTE + bytes(64),
    "negative_width.bmp": header(-8, 8) + PALETTE + bytes(64),
    "zero_height.bmp": header(8, 0) + PALETTE + bytes(64),
    "bit_count_16.bmp": header(8, 8, 16) + bytes(16 * 8),
    "bit_count_1.bmp": header(8, 8, 1) + bytes(8 + 4 * 8),
    "bit_count_0.bmp": header(8, 8, 0) + bytes(64),
    "compression_1.bmp": header(8, 8, 8, compression=1) + PALETTE + bytes(64),
    "compression_3.bmp": header(8, 8, 32, compression=3) + bytes(12 + 256),
    "compression_huge.bmp": header(8, 8, 24, compression=0xFFFFFFFF) + bytes(256),
}


def true_colour(width, height, bytes_per_pixel):
    rows = row_bytes(width, bytes_per_pixel)
    pixels = bytes((i * 37 + 11) % 256 for i in range(rows * abs(height)))
    return header(width, height, 8 * bytes_per_pixel) + pixels


# Readable files of every kind; the last byte of a fuzz input also picks the reader options.
SEED_FILES = {
    "eight_bit_bottom_up.bmp": eight_bit(5, 3),
    "eight_bit_top_down.bmp": eight_bit(4, -2),
    "rgb_bottom_up.bmp": true_colour(3, 3, 3),
    "rgb_top_down_largest.bmp": true_colour(64, -64, 3),
    "rgba_bottom_up.bmp": true_colour(2, 2, 4),
    "rgba_top_down.bmp": true_colour(7, -5, 4),
}


def write_all(folder, files):
    os.makedirs(folder, exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


def main():
    write_all(HOSTILE, FILES)
    write_all(SEEDS, SEED_FILES)


if __name__ == "__main__":
    main()
