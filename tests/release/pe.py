"""What the release tests read from a Windows program (PE) file: the headers
that say what it is, its imports, and, for a 32-bit program, where each of its
functions starts and ends (from the unwind records in .eh_frame, which a
stripped program keeps, since exceptions need them)."""
import struct
import zipfile
from pathlib import Path

I386 = 0x14C
PE32 = 0x10B
IMPORT_DIRECTORY = 1
ORDINAL_FLAG = 0x80000000


def archived_programs(archive):
    """(name, bytes) of each program in the release archive."""
    if not Path(archive).is_file():
        raise SystemExit(f"{archive} is missing: run ./release.sh")
    with zipfile.ZipFile(archive) as opened:
        return [(name, opened.read(name)) for name in opened.namelist()
                if name.lower().endswith(".exe")]


class PortableExecutable:
    """The header fields of a Windows program that say what it is."""

    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        (pe,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        (self.machine, sections, self.timestamp, self.symbol_table, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        (self.magic,) = struct.unpack_from("<H", data, optional)
        (self.subsystem,) = struct.unpack_from("<H", data, optional + 68)
        if self.magic == PE32:
            (self.image_base,) = struct.unpack_from("<I", data, optional + 28)
        else:
            (self.image_base,) = struct.unpack_from("<Q", data, optional + 24)
        directories = optional + (96 if self.magic == PE32 else 112)
        self.import_rva, _ = struct.unpack_from("<II", data, directories + 8 * IMPORT_DIRECTORY)
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            name = data[at:at + 8].rstrip(b"\0").decode("latin-1")
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((name, rva, max(size, raw_size), raw))
        self.data = data

    def offset(self, rva):
        for _, start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"address {rva:#x} lies in no section")

    def _text(self, at):
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def _import_descriptors(self):
        at = self.offset(self.import_rva)
        while True:
            descriptor = struct.unpack_from("<IIIII", self.data, at)
            if not any(descriptor):
                return
            yield descriptor
            at += 20

    def imported_dlls(self):
        return [self._text(self.offset(d[3])) for d in self._import_descriptors()]

    def imported_functions(self):
        """(dll, function) for each import of a 32-bit program; an import by
        number reads "#N"."""
        found = []
        for lookup, _, _, name, bound in self._import_descriptors():
            dll = self._text(self.offset(name))
            at = self.offset(lookup or bound)
            while True:
                (entry,) = struct.unpack_from("<I", self.data, at)
                if entry == 0:
                    break
                if entry & ORDINAL_FLAG:
                    found.append((dll, f"#{entry & 0xFFFF}"))
                else:
                    found.append((dll, self._text(self.offset(entry) + 2)))  # past the hint
                at += 4
        return found

    def section(self, name):
        """The bytes of the first section whose name starts with name, and its
        address in memory; a stripped program keeps eight letters of a name."""
        for full, rva, size, raw in self.sections:
            if full.startswith(name[:8]):
                return self.data[raw:raw + size], self.image_base + rva
        return None, None

    def functions(self):
        """(start, end) addresses in memory of every function that has an
        unwind record, sorted."""
        frames, address = self.section(".eh_frame")
        if frames is None:
            return []
        cie_encodings = {}
        found = []
        at = 0
        while at + 4 <= len(frames):
            (length,) = struct.unpack_from("<I", frames, at)
            if length == 0:  # each object's records may end with one
                at += 4
                continue
            body = at + 4
            (cie_pointer,) = struct.unpack_from("<I", frames, body)
            if cie_pointer == 0:
                cie_encodings[at] = _pointer_encoding(frames, body + 4)
            else:
                encoding = cie_encodings[body - cie_pointer]
                start, after = _encoded(frames, body + 4, encoding, address + body + 4)
                size, _ = _encoded(frames, after, encoding & 0x0F, 0)
                found.append((start, start + size))
            at = body + length
        return sorted(found)


def _uleb(data, at):
    value = shift = 0
    while True:
        byte = data[at]
        at += 1
        value |= (byte & 0x7F) << shift
        shift += 7
        if byte < 0x80:
            return value, at


def _encoded(data, at, encoding, address):
    """A pointer in one of DWARF's encodings: its value and where the next field starts."""
    form = encoding & 0x0F
    if form == 0x01:
        value, after = _uleb(data, at)
    else:
        code, size = {0x00: ("<I", 4), 0x02: ("<H", 2), 0x03: ("<I", 4), 0x04: ("<Q", 8),
                      0x0A: ("<h", 2), 0x0B: ("<i", 4), 0x0C: ("<q", 8)}[form]
        (value,) = struct.unpack_from(code, data, at)
        after = at + size
    if encoding & 0x70 == 0x10:  # relative to the field itself
        value += address
    return value & 0xFFFFFFFF, after


def _pointer_encoding(data, at):
    """How the records of one common information entry give their addresses."""
    version = data[at]
    augmentation = data[at + 1:data.index(b"\0", at + 1)].decode("ascii")
    at += 2 + len(augmentation)
    _, at = _uleb(data, at)  # code alignment
    _, at = _uleb(data, at)  # data alignment (signed, but only skipped)
    at = at + 1 if version == 1 else _uleb(data, at)[1]  # return address register
    if not augmentation.startswith("z"):
        return 0x00
    _, at = _uleb(data, at)
    for letter in augmentation[1:]:
        if letter == "R":
            return data[at]
        if letter == "P":
            at = _encoded(data, at + 1, data[at] & 0x0F, 0)[1]
        elif letter == "L":
            at += 1
    return 0x00
