#!/usr/bin/env python3
"""Non-blank lines of each module's tests (tests/<m>/) against its code: the
ratio is taken over source/<m>/ alone (the owner's measure for a module); the
public headers are shown beside it and count in the project total, which
takes tests/ against source/ + include/. Generated data is left out."""
import pathlib, re, sys

root = pathlib.Path(__file__).resolve().parent.parent
GENERATED = {"source/rtuom/uomcatalog.cpp", "source/rtuom/uomcatalog.h"}
CODE = {".cpp", ".c", ".h", ".hpp", ".f90", ".l", ".y", ".py", ".txt", ".cmake"}


def count(path):
    if str(path.relative_to(root)) in GENERATED or path.suffix not in CODE:
        return 0
    return sum(1 for line in path.read_text(errors="replace").splitlines() if line.strip())


def lines_under(d):
    return sum(count(p) for p in sorted(d.rglob("*")) if p.is_file()) if d.exists() else 0


rows, code_total, test_total = [], 0, 0
for mod in sorted(p.name for p in (root / "source").iterdir() if p.is_dir()):
    code = sum(count(p) for p in (root / "source" / mod).iterdir() if p.is_file() and p.name != "CMakeLists.txt")
    headers = 0
    cm = root / "source" / mod / "CMakeLists.txt"
    if cm.exists():
        m = re.search(r"PUBLIC_HEADERS([^)]*?)(USES|SIBLINGS|SOURCES|\))", cm.read_text(), re.S)
        for h in (m.group(1).split() if m else []):
            headers += count(root / "include" / "zarnutils" / h)
    tests = lines_under(root / "tests" / mod)
    rows.append((mod, code, headers, tests))
code_total = sum(count(p) for d in ("source", "include") for p in (root / d).rglob("*")
                 if p.is_file() and p.name != "CMakeLists.txt")
test_total = sum(count(p) for p in (root / "tests").rglob("*") if p.is_file() and p.name != "CMakeLists.txt")
print(f"{'module':12} {'code':>6} {'tests':>6} {'ratio':>6} {'headers':>8}")
for mod, code, headers, tests in rows:
    print(f"{mod:12} {code:6} {tests:6} {tests / code if code else 0:6.2f} {headers:8}")
other = test_total - sum(r[3] for r in rows)
print(f"{'(other tests)':12} {'':6} {other:6}   fortran/, support/, abi/, mutants/")
print(f"{'total':12} {code_total:6} {test_total:6} {test_total / code_total:6.2f}")
sys.exit(0)
