#!/usr/bin/env python3
"""Writes the seed corpus of the PCX fuzz target (fuzz/corpus/pcx), deterministically.

Seeds: small 8-bit one-plane files of odd widths with row padding, runs across
row ends, empty runs, short data, no bytes per line, the refused kinds, and
a file written by ImageMagick when it is there.
"""
import os
import struct
import subprocess

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "pcx")


def pcx(width, height, bytes_per_line, data, bits=8, planes=1, version=5, maker=10, marker=0x0C):
    header = struct.pack("<BBBBHHHHHH48sBBHH58s", maker, version, 1, bits, 0, 0, width - 1,
                         height - 1, 72, 72, bytes(48), 0, planes, bytes_per_line, 1, bytes(58))
    palette = bytes((i * k) & 0xFF for i in range(256) for k in (1, 3, 7))
    return header + bytes(data) + bytes([marker]) + palette


def rle_rows(width, height, bytes_per_line):
    data = []
    for y in range(height):
        row = [(x * y + x) & 0xFF for x in range(bytes_per_line)]
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and row[x + run] == row[x] and run < 63:
                run += 1
            if run > 1 or row[x] >= 0xC0:
                data += [0xC0 + run, row[x]]
            else:
                data.append(row[x])
            x += run
    return data


SEEDS = {
    "odd_width_padded": pcx(7, 3, 8, rle_rows(7, 3, 8)),
    "runs_across_rows": pcx(5, 2, 5, [1, 2, 0xC7, 9, 4]),
    "empty_run": pcx(2, 1, 2, [0xC0, 5, 1, 2]),
    "short_data": pcx(9, 9, 9, [0xC4, 1]),
    "no_bytes_per_line": pcx(3, 2, 0, [1, 2, 3]),
    "short_lines": pcx(4, 2, 2, [1, 2, 3, 4]),
    "tall": pcx(1, 65536, 1, [0xFF, 3]),
    "odd_marker": pcx(2, 2, 2, [1, 2, 3, 4], marker=0x55),
    "true_colour": pcx(2, 2, 2, [1] * 12, planes=3),
    "sixteen": pcx(2, 2, 2, [1] * 8, bits=1, planes=4),
    "mono": pcx(2, 2, 2, [1] * 4, bits=1),
    "version3": pcx(2, 2, 2, [1] * 4, version=3),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    try:
        subprocess.run(["convert", "-size", "23x9", "-seed", "5", "plasma:fractal", "-colors", "60",
                        "-type", "Palette", "pcx:" + os.path.join(OUT, "image_magick")], check=True)
    except (OSError, subprocess.CalledProcessError):
        pass


if __name__ == "__main__":
    main()
