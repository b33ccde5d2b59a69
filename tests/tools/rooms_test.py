"""The rooms of src/ and their arrows: a file includes headers of its own room
or of rooms below it, never of a room above, and rooms on one floor never
include each other in a circle. A folder missing from FLOORS fails too, so a
new room is placed before it is used.

Usage: rooms_test.py SRC-DIR
"""
import os
import re
import sys

# Top to bottom. Rooms on one floor may use each other, without a circle.
FLOORS = [
    ["app"],
    ["launch"],
    ["catalogue", "archive", "settings", "input", "viewer", "gif"],
    ["product"],
    ["components"],
    ["ui"],
    ["util"],
]
NOT_ROOMS = {"resources"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]+"', re.MULTILINE)


def floor_of(room):
    for level, rooms in enumerate(FLOORS):
        if room in rooms:
            return level
    return None


def arrows(src):
    """(room, included room, file) for every include across rooms."""
    found = []
    for room in sorted(os.listdir(src)):
        folder = os.path.join(src, room)
        if not os.path.isdir(folder) or room in NOT_ROOMS:
            continue
        for name in sorted(os.listdir(folder)):
            path = os.path.join(folder, name)
            if not os.path.isfile(path) or name == "CMakeLists.txt":
                continue
            with open(path, encoding="latin-1") as text:
                for target in INCLUDE.findall(text.read()):
                    if target != room:
                        found.append((room, target, f"{room}/{name}"))
    return found


def circle(edges):
    """One circle among the rooms as a list, or None."""
    graph = {}
    for room, target, _ in edges:
        graph.setdefault(room, set()).add(target)
    state = {}

    def visit(room, path):
        state[room] = "open"
        for target in sorted(graph.get(room, ())):
            if state.get(target) == "open":
                return path[path.index(target):] + [target]
            if target not in state:
                found = visit(target, path + [target])
                if found:
                    return found
        state[room] = "done"
        return None

    for room in sorted(graph):
        if room not in state:
            found = visit(room, [room])
            if found:
                return found
    return None


def main():
    src = sys.argv[1]
    faults = []
    rooms = [r for r in sorted(os.listdir(src))
             if os.path.isdir(os.path.join(src, r)) and r not in NOT_ROOMS]
    faults += [f"{r}/ is on no floor of the room list" for r in rooms if floor_of(r) is None]
    edges = arrows(src)
    for room, target, path in edges:
        if floor_of(target) is None:
            faults.append(f"{path} includes {target}/, which is no room")
        elif floor_of(room) is not None and floor_of(target) < floor_of(room):
            faults.append(f"{path} reaches up into {target}/")
    found = circle(edges)
    if found:
        faults.append("rooms include each other: " + " -> ".join(found))
    for fault in faults:
        print(fault)
    print(f"{len(edges)} includes across {len(rooms)} rooms, {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
