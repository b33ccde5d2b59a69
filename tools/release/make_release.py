#!/usr/bin/env python3
"""Packs the Windows release archive: the programs given, README.txt for
Windows users and SHA256SUMS, in that order, with fixed times and attributes,
so that the same programs always give the same archive bytes.

    make_release.py OUT.zip PROGRAM.exe...
"""
import hashlib
import os
import sys
import zipfile
from pathlib import Path

HERE = Path(__file__).resolve().parent

# Every entry carries the release date of 1.01 and the plain "archive"
# attribute of a Windows file, whatever the files on disk say.
RELEASE_TIME = (2026, 12, 8, 0, 0, 0)
MSDOS = 0
ARCHIVE_ATTRIBUTE = 0x20


def windows_text(text):
    """The text with CR LF line ends, which every Windows editor shows."""
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii")


def readme(program_names):
    text = (HERE / "README.txt").read_text(encoding="ascii")
    if "qvimage.exe" in program_names:
        text += (HERE / "README-qvimage.txt").read_text(encoding="ascii")
    return windows_text(text)


def checksums(entries):
    lines = [f"{hashlib.sha256(data).hexdigest()}  {name}\n" for name, data in entries]
    return "".join(lines).encode("ascii")


def entry(name):
    info = zipfile.ZipInfo(name, date_time=RELEASE_TIME)
    info.create_system = MSDOS
    info.external_attr = ARCHIVE_ATTRIBUTE
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main(argv):
    if len(argv) < 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    out = Path(argv[1])
    programs = [Path(p) for p in argv[2:]]
    entries = [(p.name, p.read_bytes()) for p in programs]
    entries.append(("README.txt", readme([p.name for p in programs])))
    entries.append(("SHA256SUMS", checksums(entries)))

    out.parent.mkdir(parents=True, exist_ok=True)
    partial = out.with_name(out.name + ".part")
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data in entries:
            archive.writestr(entry(name), data, compresslevel=9)
    os.replace(partial, out)  # never a half-written archive under the real name
    print(f"make_release: {out}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
