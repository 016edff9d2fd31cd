#!/usr/bin/env python3
"""Fails when an #include under src/ points up the layers or across subsystems.

core <- document <- files, editing, search, format, print, help <- app <- main.cpp
A folder may include itself and any layer below it, never another folder of
its own layer."""
import pathlib
import re
import sys

LAYERS = {"core": 0, "document": 1, "files": 2, "editing": 2, "search": 2,
          "format": 2, "print": 2, "help": 2, "app": 3}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path: pathlib.Path, src: pathlib.Path) -> str:
    parts = path.relative_to(src).parts
    return parts[0] if len(parts) > 1 else "main"


def main() -> int:
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src").resolve()
    wrong = []
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        origin = folder_of(path, src)
        for included in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target = included.split("/")[0] if "/" in included else origin
            if target == origin or target not in LAYERS:
                continue
            if origin != "main" and (origin not in LAYERS or LAYERS[target] >= LAYERS[origin]):
                wrong.append(f"{path.relative_to(src.parent)}: {origin} includes {included}")
    for line in wrong:
        print(line)
    print(f"{len(wrong)} include(s) against core <- document <- subsystems <- app")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
