#!/usr/bin/env python3
"""One format for the hand-written C and C++ of the tree: checks every such
file against the root .clang-format (exit 1 and the first differences when one
is off), or with --fix formats them in place. Generated files are left out,
as the size measure and the mutants leave them out."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import codefiles  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDERS = ("source", "include", "tests", "bench", "fuzz", "examples", "tools")
SUFFIXES = (".c", ".cpp", ".h", ".hpp")


def hand_written():
    listed = subprocess.run(["git", "ls-files", *FOLDERS], cwd=ROOT, capture_output=True, text=True, check=True)
    for path in listed.stdout.split():
        if path.endswith(SUFFIXES) and not codefiles.is_generated(os.path.join(ROOT, path)):
            yield path


def main():
    fix = "--fix" in sys.argv[1:]
    files = list(hand_written())
    mode = ["-i"] if fix else ["--dry-run", "--Werror"]
    failed = subprocess.run(["clang-format", "--style=file", *mode, *files], cwd=ROOT).returncode != 0
    if not fix:
        print(f"format: {len(files)} file(s) checked" + (", some not formatted (scripts/format.py --fix)" if failed else ""))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
