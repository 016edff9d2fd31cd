#!/usr/bin/env python3
"""Prints how much of the code is tests and fails when tests pass a ceiling.

Counts lines that hold code (not blank, not only a comment) in src/, tests/ and
bench/, as the owner's own counter does, so that the test share cannot grow
unnoticed: a change that needs new tests makes room by merging old ones.

usage: scripts/test-share.py [--max PERCENT]   (default 35)
"""
import os
import sys

EXTENSIONS = {".cpp", ".h", ".hpp", ".cc", ".sh", ".py"}


def strip_line(line, in_block):
    """The code left on a C++ line once comments and string contents are gone."""
    code, i = "", 0
    while i < len(line):
        if in_block:
            end = line.find("*/", i)
            if end < 0:
                break
            in_block, i = False, end + 2
        elif line.startswith("//", i):
            break
        elif line.startswith("/*", i):
            in_block, i = True, i + 2
        elif line[i] == '"':
            j = i + 1
            while j < len(line) and line[j] != '"':
                j += 2 if line[j] == "\\" else 1
            code += "s"
            i = j + 1
        else:
            code += line[i]
            i += 1
    return code, in_block


def code_lines(text, ext):
    count, in_block = 0, False
    for raw in text.splitlines():
        line = raw.strip()
        if ext in (".sh", ".py"):
            count += bool(line) and not line.startswith("#")
            continue
        code, in_block = strip_line(line, in_block)
        count += bool(code.strip())
    return count


def tally(folder):
    total = 0
    for base, _, files in os.walk(folder):
        for name in files:
            ext = os.path.splitext(name)[1]
            if ext in EXTENSIONS:
                with open(os.path.join(base, name), encoding="utf-8", errors="replace") as f:
                    total += code_lines(f.read(), ext)
    return total


def main():
    ceiling = 35.0
    if len(sys.argv) == 3 and sys.argv[1] == "--max":
        ceiling = float(sys.argv[2])
    elif len(sys.argv) != 1:
        sys.exit(__doc__)
    os.chdir(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    src, tests, bench = (tally(f) for f in ("src", "tests", "bench"))
    share = 100.0 * tests / (src + tests + bench)
    print("code lines: src %d, tests %d, bench %d; tests are %.1f%% of all code (ceiling %.0f%%)"
          % (src, tests, bench, share, ceiling))
    if share > ceiling:
        print("test-share: over the ceiling; make room by merging tests", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
