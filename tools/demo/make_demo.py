#!/usr/bin/env python3
"""Makes a demo emulator folder: ROM sets of random bytes named as Quarvel's
game table expects, some kept as folders and some as ZIP archives, so that the
scan finds a good part of the 24 games. The emulator and Quarvel itself are
copied in by the caller.

    make_demo.py FOLDER [--rom-like KB]

With --rom-like, every ROM is KB kilobytes of data shaped like real ROMs
(random stretches, repeated tiles, sparse tables, text, copies of earlier
parts), which compresses as real sets do: a demo at real sizes, for timing.
"""
import random
import sys
import zipfile
from pathlib import Path

# Games kept as a folder: game id -> ROM file names (one per ROM pattern).
FOLDERS = {
    "3wonders": ["3wonders.01", "3wonders.02"],
    "FFIGHT": ["ff30-36.bin", "ff-5m.bin"],
    "kod": ["kod01.rom", "kod02.rom"],
    "SF2": ["sf2_30a.rom", "sf2gfx01.rom"],
    # Street Fighter 2 Turbo with the files of the CE variant beside it.
    "SF2t": ["sf2.21", "sf2.22", "sf2.23", "sf2ce.21", "sf2ce.22", "sf2ce.23"],
    "STRIDER": ["strider.30", "strider.35"],
    "Willow": ["wl_24.rom", "wl_gfx1.rom"],
    "1941j": ["41e_30.bin", "41e_35.bin"],
}

# Games kept as archives: archive stem -> ROM file names inside.
ARCHIVES = {
    "ffightJ": ["ff36.bin", "ff42.bin"],
    "kodj": ["kd.bin"],
    "captcomm": ["cc_23.rom", "gfx_01.rom"],
    "unsquad": ["unsquad.01", "unsquad.02"],
    "Area88": ["ar_36.bin"],
    "cawing": ["ca_30.rom", "ca_gfx1.rom"],
    "Knights": ["kr_23e.rom", "kr_22.rom"],
    "MSword": ["ms_30.rom", "ms_35.rom"],
    "mtwins": ["ch_30.rom"],
    "RockManJ": ["rcm_23.bin", "rcm_24.bin"],
}

ROM_SIZE = 32 * 1024


def rom(rng):
    return rng.randbytes(ROM_SIZE)


WORDS = [b"INSERT ", b"COIN ", b"PLAYER ", b"START ", b"GAME ", b"OVER ", b"HI-SCORE ", b"STAGE "]


def rom_like(rng, size):
    data = bytearray()
    while len(data) < size:
        n = 256 + rng.randrange(4096)
        kind = rng.randrange(6)
        if kind == 0:
            data += rng.randbytes(n)
        elif kind == 1:
            tile = bytes(rng.randrange(4) * 0x11 for _ in range(64))
            data += (tile * (n // 64 + 1))[:n]
        elif kind == 2:
            data += bytes(rng.randrange(256) if rng.randrange(8) == 0 else 0 for _ in range(n))
        elif kind == 3:
            data += b"".join(rng.choice(WORDS) for _ in range(n // 5))
        elif kind == 4:
            data += bytes((i * 3 + (i >> 5)) & 0xFF for i in range(n))
        elif len(data) > n:
            start = len(data) - 1 - rng.randrange(min(len(data) - n, 32768))
            data += data[start:start + n]
    return bytes(data[:size])


def main():
    args = sys.argv[1:]
    make_rom = rom
    if len(args) == 3 and args[1] == "--rom-like":
        size = int(args[2]) * 1024
        make_rom = lambda rng: rom_like(rng, size)  # noqa: E731
    elif len(args) != 1:
        sys.exit(__doc__)
    target = Path(args[0])
    target.mkdir(parents=True, exist_ok=True)
    rng = random.Random(1997)  # the same demo every time
    for game_id, names in FOLDERS.items():
        folder = target / game_id
        folder.mkdir(exist_ok=True)
        for name in names:
            (folder / name).write_bytes(make_rom(rng))
    for stem, names in ARCHIVES.items():
        with zipfile.ZipFile(target / (stem + ".ZIP"), "w", zipfile.ZIP_DEFLATED) as archive:
            for name in names:
                archive.writestr(name, make_rom(rng))


if __name__ == "__main__":
    main()
