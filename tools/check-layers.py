#!/usr/bin/env python3
"""Checks that the program's folders include each other only downwards.

Each folder's CMakeLists.txt declares its library with
`tarvix_folder(<name> ... DEPENDS <lower folders> ...)`. A source file in a
folder may include its own folder's headers and those of the folders it
depends on, directly or through them; any other project include, and any
cycle between folders, is reported and the exit status is 1.

Usage: check-layers.py <source root>
"""
import pathlib
import re
import sys

KEYWORDS = {"PURE", "WINDOWS", "DEPENDS", "LIBS"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/', re.MULTILINE)


def declared_layers(root):
    layers = {}
    for cmake in sorted(root.glob("*/CMakeLists.txt")):
        text = re.sub(r"#.*", "", cmake.read_text(encoding="utf-8"))
        call = re.search(r"tarvix_folder\(([^)]*)\)", text)
        if not call:
            continue
        words = call.group(1).split()
        depends, section = [], None
        for word in words[1:]:
            if word in KEYWORDS:
                section = word
            elif section == "DEPENDS":
                depends.append(word)
        layers[words[0]] = depends
    return layers


def find_cycle(layers):
    state = {}

    def visit(folder, path):
        state[folder] = "open"
        for dep in layers.get(folder, []):
            if state.get(dep) == "open":
                return path + [folder, dep]
            if dep not in state:
                found = visit(dep, path + [folder])
                if found:
                    return found
        state[folder] = "done"
        return None

    for folder in layers:
        if folder not in state:
            found = visit(folder, [])
            if found:
                return found
    return None


def reachable(layers, folder):
    seen, todo = {folder}, [folder]
    while todo:
        for dep in layers.get(todo.pop(), []):
            if dep not in seen:
                seen.add(dep)
                todo.append(dep)
    return seen


def main(root):
    root = pathlib.Path(root)
    layers = declared_layers(root)
    problems = []
    for folder, deps in layers.items():
        problems += [f"{folder}/CMakeLists.txt: DEPENDS names unknown folder '{d}'" for d in deps if d not in layers]
    cycle = find_cycle(layers)
    if cycle:
        problems.append("folders depend on each other in a cycle: " + " -> ".join(cycle))
    for folder in layers:
        allowed = reachable(layers, folder)
        for source in sorted((root / folder).rglob("*")):
            if source.suffix not in (".h", ".cpp", ".rc"):
                continue
            text = source.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                target = match.group(1)
                if target in layers and target not in allowed:
                    line = text.count("\n", 0, match.start()) + 1
                    problems.append(f"{source.relative_to(root)}:{line}: includes {target}/, "
                                    f"which is not below {folder}/")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1]))
