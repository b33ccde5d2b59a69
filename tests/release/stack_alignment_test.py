#!/usr/bin/env python3
"""Reads the machine code of the programs in the release archive for an access
to the stack that needs 16-byte alignment (movaps, movdqa, or any other SSE
instruction on a 16-byte memory operand but the unaligned moves) in a function
that does not align its stack itself. 32-bit Windows promises only 4-byte
alignment where a callback or a thread starts, so such an access crashes there,
and nowhere a test runs here.

Functions are told apart by their unwind records, which every compiled
function has; the C runtime's few hand-written routines have none and are not
read.

    stack_alignment_test.py --archive ZIP --objdump OBJDUMP
"""
import argparse
import bisect
import re
import subprocess
import sys
import tempfile
from pathlib import Path

from pe import PortableExecutable, archived_programs

INSTRUCTION = re.compile(r"^\s*([0-9a-f]+):\s+(.*)$")
PREFIXES = {"lock", "rep", "repz", "repnz", "repe", "repne", "data16", "addr16", "notrack", "bnd"}
MEMORY = re.compile(r"\b[XYZ]MMWORD PTR (?:\w+:)?\[(\w+)")
# Legacy SSE instructions on a 16-byte memory operand fault unless it is aligned,
# all but these; of the VEX ones, only these fault.
UNALIGNED_SSE = {"movups", "movupd", "movdqu", "lddqu", "pcmpestri", "pcmpestrm",
                 "pcmpistri", "pcmpistrm"}
ALIGNED_VEX = {"vmovaps", "vmovapd", "vmovdqa", "vmovdqa32", "vmovdqa64", "vmovntps",
               "vmovntpd", "vmovntdq", "vmovntdqa"}
REALIGN = re.compile(r"^and\s+esp,0x([0-9a-f]+)$")


def needs_alignment(mnemonic):
    if mnemonic.startswith("v"):
        return mnemonic in ALIGNED_VEX
    return mnemonic not in UNALIGNED_SSE


class Function:
    def __init__(self, start, end):
        self.start, self.end = start, end
        self.realigns = False
        self.frame_pointer = False  # ebp holds the stack pointer of the entry
        self.accesses = []  # (address, instruction, base register)

    def faults(self):
        if self.realigns:
            return []
        stack = {"esp", "ebp"} if self.frame_pointer else {"esp"}
        return [(at, text) for at, text, base in self.accesses if base in stack]


def read_functions(exe_path, objdump):
    functions = [Function(start, end)
                 for start, end in PortableExecutable(exe_path.read_bytes()).functions()]
    if not functions:
        raise SystemExit(f"{exe_path.name}: no unwind records found")
    starts = [f.start for f in functions]
    listing = subprocess.run([objdump, "-d", "-M", "intel", "--no-show-raw-insn", "-j", ".text",
                              str(exe_path)], check=True, capture_output=True, text=True).stdout
    for line in listing.splitlines():
        match = INSTRUCTION.match(line)
        if not match:
            continue
        at = int(match.group(1), 16)
        index = bisect.bisect_right(starts, at) - 1
        if index < 0 or at >= functions[index].end:
            continue
        function = functions[index]
        text = " ".join(match.group(2).split())
        words = text.split(" ")
        while words and words[0] in PREFIXES:
            words.pop(0)
        realign = REALIGN.match(" ".join(words[:2]))
        if realign and int(realign.group(1), 16) & 0xF == 0:
            function.realigns = True
        elif words[:2] == ["mov", "ebp,esp"]:
            function.frame_pointer = True
        memory = MEMORY.search(text)
        if memory and words and needs_alignment(words[0]):
            function.accesses.append((at, text, memory.group(1)))
    return functions


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--archive", required=True)
    parser.add_argument("--objdump", required=True)
    args = parser.parse_args()
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for name, program in archived_programs(args.archive):
            exe = Path(work, name)
            exe.write_bytes(program)
            functions = read_functions(exe, args.objdump)
            faults = [(f, at, text) for f in functions for at, text in f.faults()]
            for function, at, text in faults:
                print(f"{name}: {at:#x} {text}: an aligned access to the stack in the function at "
                      f"{function.start:#x}..{function.end:#x}, which does not realign its stack")
            checked = sum(len(f.accesses) for f in functions)
            print(f"{name}: {len(functions)} functions, {checked} SSE accesses that need 16-byte "
                  f"alignment, {len(faults)} of them to a stack that may be 4-byte aligned")
            failed = failed or bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
