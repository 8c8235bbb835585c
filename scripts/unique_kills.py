#!/usr/bin/env python3
"""Which tests catch a planted fault that no other test catches.

usage: unique_kills.py [--tests REGEX] [--rows] [--build DIR] RUN.json [RUN.json ...]

Reads the --json files of mutation runs made with --all-killers (catalogue
runs and random samples alike; see scripts/mutants.py) and prints, for every
test whose name matches REGEX (default: all):

    kills   the faults it catches
    alone   the faults no other test catches

Tests with nothing alone are the candidates to cut: whatever they catch, a
kept test catches too. A test that caught nothing in these runs is listed
with 0 0 when --build names a configured build whose tests can be listed.
A run without --all-killers names only the first test that failed, which
makes every later one look spare: read only runs made with it. A test that
crashes the program counts as the one that caught the fault; the program's
later tests did not run, so a crash can hide other killers.

With --rows the unit is a failed assertion rather than a test: the test,
the file and line of the assertion, and the last line of its message (the
row name a table prints with `<<`), as runs record them since failures were
kept. A killer test without a recorded failure (a crash, a Fortran or shell
test) stands for itself.
"""

import argparse
import json
import re
import subprocess
import sys
from collections import defaultdict


def load_runs(paths, rows=False):
    """(fault name, its killers) for every caught fault of every run."""
    caught = []
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        if isinstance(data, dict):
            entries = data.get("mutants", [])
            label = f"seed {data.get('seed')}"
        else:
            entries = data
            label = "catalogue"
        for e in entries:
            if not e.get("outcome", "").startswith(("killed", "timeout")):
                continue
            if "killers" not in e:
                sys.exit(f"unique_kills: {path} was written before killers were recorded; run it again")
            name = e.get("id") or f"{label} #{e.get('draw')}"
            killers = e["killers"]
            if rows:
                failures = e.get("failures", [])
                covered = {f.split(" ", 1)[0] for f in failures}
                killers = failures + [k for k in killers if k not in covered]
            caught.append((f"{name} {e.get('file')}:{e.get('line')}", killers))
    return caught


def listed_tests(build):
    """Every test ctest knows in a configured build."""
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], capture_output=True,
                         text=True, check=True).stdout
    return [t["name"] for t in json.loads(out[out.index("{"):]).get("tests", [])]


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("runs", nargs="+", help="--json files of runs made with --all-killers")
    ap.add_argument("--tests", default="", help="only tests whose name matches this regular expression")
    ap.add_argument("--rows", action="store_true", help="count failed assertions (table rows), not tests")
    ap.add_argument("--build", help="a configured build, to list the tests that caught nothing")
    args = ap.parse_args()
    wanted = re.compile(args.tests)

    caught = load_runs(args.runs, args.rows)
    kills, alone = defaultdict(int), defaultdict(list)
    for fault, killers in caught:
        for t in killers:
            kills[t] += 1
        if len(killers) == 1:
            alone[killers[0]].append(fault)
    unknown = [fault for fault, killers in caught if not killers]
    names = set(kills)
    if args.build:
        names |= set(listed_tests(args.build))
    names = sorted(n for n in names if wanted.search(n))

    print(f"{len(caught)} caught faults in {len(args.runs)} run(s); {len(unknown)} with no test named "
          "(a crash before the test's name was printed)")
    width = max([72] + [len(n) + 1 for n in names]) if args.rows else 72
    print(f"\n{'test':<{width}} kills  alone")
    for n in names:
        print(f"{n:<{width}} {kills[n]:>5}  {len(alone[n]):>5}")
    spare = [n for n in names if not alone[n]]
    print(f"\n{len(spare)} of {len(names)} tests catch nothing alone:")
    for n in spare:
        print(f"  {n}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
