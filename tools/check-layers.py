#!/usr/bin/env python3
"""Fails when a source file includes a folder that its layer may not use.

The layers are the table under "## Layers" in docs/architecture.md: each row
gives a level, a folder and whether it may include Qt. A file may include its
own folder and folders of a lower level; folders of one level are siblings
and never include each other. Exit status 0 when every include keeps to the
order, 1 otherwise (each offending include is printed), 2 when the table
cannot be read.
"""
import pathlib
import re
import sys

ROW = re.compile(r"^\|\s*(\d+)\s*\|\s*`([^`]+)/`\s*\|\s*(yes|no)\s*\|")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SOURCE_SUFFIXES = {".h", ".cpp"}


def read_layers(architecture):
    layers = {}
    in_table = False
    for line in architecture.read_text(encoding="utf-8").splitlines():
        if line.startswith("## "):
            in_table = line.strip() == "## Layers"
            continue
        match = ROW.match(line) if in_table else None
        if match:
            layers[match.group(2)] = (int(match.group(1)), match.group(3) == "yes")
    return layers


def folder_of(path, layers):
    """The listed folder that holds `path` (the longest listed prefix)."""
    best = None
    for folder in layers:
        if path == folder or path.startswith(folder + "/"):
            if best is None or len(folder) > len(best):
                best = folder
    return best


def included_folder(name, layers):
    for candidate in (name, "src/" + name):
        folder = folder_of(candidate, layers)
        if folder:
            return folder
    return None


def check(top):
    layers = read_layers(top / "docs" / "architecture.md")
    if not layers:
        print("docs/architecture.md has no layer table under \"## Layers\"", file=sys.stderr)
        return 2
    faults = []
    for folder, (level, qt_allowed) in sorted(layers.items()):
        for path in sorted((top / folder).rglob("*")):
            if path.suffix not in SOURCE_SUFFIXES:
                continue
            relative = path.relative_to(top).as_posix()
            if folder_of(relative, layers) != folder:
                continue  # a listed subfolder answers for its own files
            for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                where = f"{relative}:{number}"
                bracket, name = match.groups()
                if bracket == "<":
                    if not qt_allowed and re.match(r"Q[A-Za-z]", name):
                        faults.append(f"{where}: {folder}/ does not include Qt (<{name}>)")
                    continue
                target = included_folder(name, layers)
                if target is None:
                    if "/" in name:
                        faults.append(f"{where}: \"{name}\" is in no layer of docs/architecture.md")
                    continue
                if target == folder:
                    continue
                target_level = layers[target][0]
                if target_level >= level:
                    kind = "sideways to" if target_level == level else "upward to"
                    faults.append(f"{where}: {folder}/ (level {level}) includes {kind} {target}/ (level {target_level})")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    top = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent
    sys.exit(check(top))
