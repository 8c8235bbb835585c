#!/usr/bin/env python3
"""Size of the tests against the code they test, in non-whitespace characters
(so that layout and line packing change nothing).

Per module: tests/<module>/ against source/<module>/ and the public headers the
module declares under include/ (shown in a column of their own); the project
total takes all of tests/ against source/ + include/ + tools/. Each program under tools/<name>/
(the zarn command) is a row of its own against tests/<name>/. Generated files (a head that names its
generator and says not to edit it) are left out on both sides, and so are the
CMakeLists.txt build descriptions. Every other file under tests/ counts as
test, data files included.

    python3 scripts/lines.py
    python3 scripts/lines.py --check --max-total 0.45 --max-module 0.60
"""

import argparse
import os
import pathlib
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from codefiles import is_generated  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parent.parent
WHITESPACE = re.compile(rb"\s+")


def counted(path):
    """True for a file that takes part in the measure."""
    return path.is_file() and path.name != "CMakeLists.txt" and not is_generated(path)


def characters(path):
    """Non-whitespace characters of one file (0 for a file left out)."""
    if not counted(path):
        return 0
    return len(WHITESPACE.sub(b"", path.read_bytes()))


def characters_under(folder):
    """Non-whitespace characters of every counted file below `folder`."""
    if not folder.is_dir():
        return 0
    return sum(characters(p) for p in sorted(folder.rglob("*")))


def public_headers(module):
    """The public headers a module's CMakeLists.txt declares."""
    cmake = ROOT / "source" / module / "CMakeLists.txt"
    if not cmake.exists():
        return []
    m = re.search(r"PUBLIC_HEADERS([^)]*?)(USES|SIBLINGS|SOURCES|\))", cmake.read_text(), re.S)
    return m.group(1).split() if m else []


def measure():
    """Rows (module, code, tests, headers) and the project totals."""
    rows = []
    for folder in sorted(p for p in (ROOT / "source").iterdir() if p.is_dir()):
        module = folder.name
        code = characters_under(folder)
        headers = sum(characters(ROOT / "include" / "zarnutils" / h) for h in public_headers(module))
        tests = characters_under(ROOT / "tests" / module)
        rows.append((module, code, tests, headers))
    tools = ROOT / "tools"
    for folder in sorted(p for p in tools.iterdir() if p.is_dir()) if tools.is_dir() else []:
        rows.append((folder.name, characters_under(folder), characters_under(ROOT / "tests" / folder.name), 0))
    code_total = characters_under(ROOT / "source") + characters_under(ROOT / "include") + characters_under(tools)
    test_total = characters_under(ROOT / "tests")
    return rows, code_total, test_total


def ratio(tests, code):
    return tests / code if code else 0.0


def print_table(rows, code_total, test_total):
    modules = {r[0] for r in rows}
    others = sorted(p.name + "/" for p in (ROOT / "tests").iterdir() if p.is_dir() and p.name not in modules)
    print(f"{'module':14} {'code':>8} {'headers':>8} {'tests':>8} {'ratio':>6}")
    for module, code, tests, headers in rows:
        print(f"{module:14} {code:8} {headers:8} {tests:8} {ratio(tests, code + headers):6.2f}")
    other = test_total - sum(r[2] for r in rows)
    print(f"{'(other tests)':14} {'':8} {'':8} {other:8}        {' '.join(others)}")
    print(f"{'total':14} {code_total:8} {'':8} {test_total:8} {ratio(test_total, code_total):6.2f}"
          f"   (code: source/ + include/ + tools/)")


def check(rows, code_total, test_total, max_total, max_module):
    """Names every ratio above its limit; returns the number of them."""
    over = 0
    for module, code, tests, headers in rows:
        if ratio(tests, code + headers) > max_module:
            print(f"lines: {module}: tests/code {ratio(tests, code + headers):.2f} is above {max_module:.2f}")
            over += 1
    if ratio(test_total, code_total) > max_total:
        print(f"lines: project: tests/code {ratio(test_total, code_total):.2f} is above {max_total:.2f}")
        over += 1
    return over


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--check", action="store_true", help="exit 1 when a ratio is above its maximum")
    ap.add_argument("--max-total", type=float, default=0.45, help="project maximum for --check (0.45)")
    ap.add_argument("--max-module", type=float, default=0.60, help="module maximum for --check (0.60)")
    args = ap.parse_args()
    rows, code_total, test_total = measure()
    print_table(rows, code_total, test_total)
    if args.check and check(rows, code_total, test_total, args.max_total, args.max_module):
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
