#!/usr/bin/env python3
"""Checks what the programs in the release archive import against the list in
the tree (imports.txt): each imported function must be listed, with the oldest
Windows that has it, and none may be newer than the oldest Windows the manifest
declares. Windows refuses to start a program that imports a function it lacks,
with a message that names the function, before any of our code runs.

    imports_test.py --archive ZIP --list imports.txt --manifest quarvel.manifest
"""
import argparse
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

from pe import PortableExecutable, archived_programs

WINDOWS = ["2000", "XP", "Vista", "7", "8", "8.1", "10"]  # oldest first
SUPPORTED_OS = {  # the compatibility section's identifiers of each Windows
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10",
}


def read_list(path):
    """DLL!Function (the DLL in lower case) -> the oldest Windows that has it."""
    listed = {}
    for number, line in enumerate(Path(path).read_text().splitlines(), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        name, _, windows = line.rpartition(" ")
        if "!" not in name or windows not in WINDOWS:
            raise SystemExit(f"{path}:{number}: expected DLL!Function and one of {WINDOWS}")
        dll, _, function = name.partition("!")
        listed[f"{dll.lower()}!{function}"] = windows
    return listed


def oldest_declared(manifest):
    ids = [e.attrib["Id"].lower() for e in ET.parse(manifest).iter()
           if e.tag.endswith("}supportedOS")]
    unknown = [i for i in ids if i not in SUPPORTED_OS]
    if not ids or unknown:
        raise SystemExit(f"{manifest}: no supportedOS, or one not known here: {unknown}")
    return min((SUPPORTED_OS[i] for i in ids), key=WINDOWS.index)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--archive", required=True)
    parser.add_argument("--list", required=True)
    parser.add_argument("--manifest", required=True)
    args = parser.parse_args()
    listed = read_list(args.list)
    oldest = oldest_declared(args.manifest)
    problems = []
    for name, program in archived_programs(args.archive):
        imports = PortableExecutable(program).imported_functions()
        for dll, function in imports:
            key = f"{dll.lower()}!{function}"
            windows = listed.get(key)
            if windows is None:
                problems.append(f"{name} imports {key}, which {args.list} does not list: "
                                "add it with the oldest Windows its documentation names")
            elif WINDOWS.index(windows) > WINDOWS.index(oldest):
                problems.append(f"{name} imports {key}, which needs Windows {windows}, but the "
                                f"manifest declares Windows {oldest}: look it up at run time "
                                "(GetProcAddress) and do without it where it is missing")
        print(f"{name}: {len(imports)} imported functions")
    for problem in problems:
        print(problem)
    print(f"the oldest Windows the manifest declares: {oldest}; "
          f"{len(problems)} imports that it may lack or the list does not know")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
