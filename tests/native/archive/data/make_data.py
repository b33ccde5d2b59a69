#!/usr/bin/env python3
"""Writes roms.zip, the small archive the Windows extraction tests unpack.

sf2/sf2.11 (deflated) holds the 70000 bytes (i * 7 + i // 300) & 0xFF for i from 0;
readme.txt (stored) holds the text below.
"""
import os
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
README = b"Test ROM set for the extraction tests.\r\n"


def main():
    rom = bytes((i * 7 + i // 300) & 0xFF for i in range(70000))
    with zipfile.ZipFile(os.path.join(HERE, "roms.zip"), "w") as z:
        z.writestr(zipfile.ZipInfo("sf2/sf2.11", (1996, 6, 1, 12, 0, 0)), rom, zipfile.ZIP_DEFLATED, 9)
        z.writestr(zipfile.ZipInfo("readme.txt", (1996, 6, 1, 12, 0, 0)), README, zipfile.ZIP_STORED)


if __name__ == "__main__":
    main()
