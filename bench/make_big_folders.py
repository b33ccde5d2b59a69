#!/usr/bin/env python3
"""Makes the folders that big_folders_bench times Quarvel over, as a user
with years of play has them:

    make_big_folders.py ROOT [UNRELATED] [SNAPSHOTS]

ROOT/small and ROOT/crowded are demo emulator folders (make_demo.py), the
crowded one with UNRELATED empty files beside the games (100,000 unless
told); ROOT/Pcx holds SNAPSHOTS valid snapshot pictures (5,000 unless told),
Snap0000.Pcx on, all of one 384 x 224 picture of 256 colours.

The files are made from here rather than from a Windows program: under Wine
each new name costs a search of the whole folder for a name that differs
only in case, so 100,000 of them would take hours there.
"""
import os
import shutil
import struct
import subprocess
import sys
from pathlib import Path

WIDTH, HEIGHT = 384, 224


def rle_line(pixels):
    out = bytearray()
    i = 0
    while i < len(pixels):
        run = 1
        while i + run < len(pixels) and run < 63 and pixels[i + run] == pixels[i]:
            run += 1
        if run > 1 or pixels[i] >= 0xC0:
            out += bytes((0xC0 | run, pixels[i]))
        else:
            out.append(pixels[i])
        i += run
    return out


def snapshot():
    """A PCX file of 8 bits in one plane with a palette of 256 colours."""
    header = struct.pack("<BBBBHHHHHH", 10, 5, 1, 8, 0, 0, WIDTH - 1, HEIGHT - 1, 72, 72)
    header += bytes(48) + bytes((0, 1)) + struct.pack("<HH", WIDTH, 1)
    header += bytes(128 - len(header))
    body = bytearray()
    for y in range(HEIGHT):
        body += rle_line(bytes(((x // 24) * 16 + y // 14) & 0xFF for x in range(WIDTH)))
    palette = bytes(c for i in range(256) for c in (i, (i * 7) & 0xFF, 255 - i))
    return header + body + b"\x0c" + palette


def main():
    if not 2 <= len(sys.argv) <= 4:
        sys.exit(__doc__)
    root = Path(sys.argv[1])
    unrelated = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    snapshots = int(sys.argv[3]) if len(sys.argv) > 3 else 5000
    shutil.rmtree(root, ignore_errors=True)
    make_demo = Path(__file__).resolve().parent.parent / "tools" / "demo" / "make_demo.py"
    for name in ("small", "crowded"):
        subprocess.run([sys.executable, str(make_demo), str(root / name)], check=True,
                       stdout=subprocess.DEVNULL)
    for i in range(unrelated):
        (root / "crowded" / f"unrelated_{i:06d}.dat").touch()
    shots = root / "Pcx"
    shots.mkdir()
    picture = snapshot()
    for i in range(snapshots):
        (shots / f"Snap{i:04d}.Pcx").write_bytes(picture)


if __name__ == "__main__":
    main()
