#!/usr/bin/env python3
"""Writes the seed corpus of the ZIP fuzz target (fuzz/corpus/zip), deterministically.

Seeds: archives with stored, fixed-code and dynamic-code entries, sizes after
the data with and without the descriptor signature, names with folders and
dots, a damaged entry; and bare deflate streams of every block type.
"""
import io
import os
import random
import struct
import zipfile
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "zip")


def raw_deflate(data, level=6, strategy=zlib.Z_DEFAULT_STRATEGY):
    c = zlib.compressobj(level, zlib.DEFLATED, -15, 8, strategy)
    return c.compress(data) + c.flush()


def local_entry(name, data, method=8, flags=0, packed=None, descriptor=None):
    """One local header and its data; descriptor: None, 'signed' or 'bare'."""
    if packed is None:
        packed = raw_deflate(data) if method == 8 else data
    crc = zlib.crc32(data)
    sizes = (0, 0, 0) if descriptor else (crc, len(packed), len(data))
    name = name.encode("latin-1")
    header = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, method, 0, 0, *sizes, len(name), 0)
    blob = header + name + packed
    if descriptor == "signed":
        blob += struct.pack("<IIII", 0x08074B50, crc, len(packed), len(data))
    elif descriptor == "bare":
        blob += struct.pack("<III", crc, len(packed), len(data))
    return blob


def main():
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(6110)
    text = b"".join(b"line %d of the roms list\n" % i for i in range(60))
    tiles = bytes(rng.randrange(4) for _ in range(64)) * 40 + bytes(rng.randrange(256) for _ in range(300))
    seeds = {}

    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_STORED) as z:
        z.writestr("sf2/sf2.11", tiles[:500])
        z.writestr("readme.txt", text[:200])
    seeds["stored.zip"] = buf.getvalue()

    buf = io.BytesIO()
    with zipfile.ZipFile(buf, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("tiles.bin", tiles)
        z.writestr("text.txt", text)
        z.writestr("folder/", b"")
        z.writestr("..", b"dots")
    seeds["dynamic.zip"] = buf.getvalue()

    seeds["fixed.zip"] = local_entry("fixed.bin", text[:300], packed=raw_deflate(text[:300], 6, zlib.Z_FIXED))

    class Unseekable(io.RawIOBase):
        def __init__(self):
            self.data = bytearray()

        def writable(self):
            return True

        def write(self, b):
            self.data += b
            return len(b)

    stream = Unseekable()
    with zipfile.ZipFile(stream, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("after.bin", tiles[:900])
    seeds["descriptor-signed.zip"] = bytes(stream.data)
    seeds["descriptor-bare.zip"] = local_entry("bare.bin", text[:400], flags=8, descriptor="bare") + local_entry(
        "next.txt", b"next entry", method=0)

    # Long runs fill the window several times; the marker repeats 32768 bytes back.
    marker = bytes(rng.randrange(256) for _ in range(100))
    seeds["window.zip"] = local_entry("window.bin", bytes(40000) + marker + bytes(32668) + marker + bytes(5000))

    damaged = bytearray(local_entry("damaged.bin", text))
    damaged[60] ^= 0x55
    seeds["damaged.zip"] = bytes(damaged)

    seeds["stored.deflate"] = raw_deflate(text[:100], 0)
    seeds["fixed.deflate"] = raw_deflate(tiles[:400], 6, zlib.Z_FIXED)
    seeds["dynamic.deflate"] = raw_deflate(text, 9)

    for name, blob in seeds.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(blob)


if __name__ == "__main__":
    main()
