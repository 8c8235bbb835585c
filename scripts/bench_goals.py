#!/usr/bin/env python3
"""The closing table of `make bench`: every pair and figure the benchmark
programs recorded, against its goal in bench/goals.json.

usage: bench_goals.py GOALS.json RESULTS_FOLDER

The programs write RESULTS_FOLDER/<program>.pairs.json (bench/pair_reporter.h).
A goal names what it bounds: "ratio" (library / baseline), "library_ns" (the
library's ns per operation) or "value" (a figure). A result at or under its
goal passes; the mark column says "MISSED" where it does not, "no goal" for a
pair the goals file lacks and "not run" for a goal without a result. The exit
status is 0 unless the goals file or a results file cannot be read: benchmarks
are not tests.
"""
import json
import os
import sys

MEASURES = ("ratio", "library_ns", "value")


def load_results(folder):
    """{program: {label: entry}} from every *.pairs.json in folder."""
    results = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".pairs.json"):
            continue
        program = name[: -len(".pairs.json")]
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            data = json.load(f)
        entries = {}
        for entry in data.get("pairs", []) + data.get("figures", []):
            entries[entry["label"]] = entry
        results[program] = entries
    return results


def measure_of(goal):
    """The measure a goal bounds and its bound."""
    for key in MEASURES:
        if key in goal:
            return key, float(goal[key])
    raise ValueError(f"a goal names none of {', '.join(MEASURES)}: {goal}")


def rows(goals, results):
    """(program, label, measure, result or None, goal or None, mark) for every goal and every result."""
    out = []
    for program in sorted(set(goals) | set(results)):
        wanted = goals.get(program, {})
        got = results.get(program, {})
        for label in list(wanted) + [k for k in got if k not in wanted]:
            entry = got.get(label)
            if label not in wanted:
                key = "ratio" if "ratio" in entry else "value"
                out.append((program, label, key, entry[key], None, "no goal"))
                continue
            key, bound = measure_of(wanted[label])
            if entry is None:
                out.append((program, label, key, None, bound, "not run"))
                continue
            value = entry[key]
            out.append((program, label, key, value, bound, "" if value <= bound else "MISSED"))
    return out


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], encoding="utf-8") as f:
        goals = {k: v for k, v in json.load(f).items() if not k.startswith("_")}
    table = rows(goals, load_results(argv[2]))
    units = {"ratio": "", "library_ns": " ns", "value": ""}
    width = max([len(f"{p}: {l}") for p, l, *_ in table] + [10])
    print(f"\n{'pair or figure':<{width}}  {'result':>12}  {'goal':>12}  mark")
    for program, label, key, value, bound, mark in table:
        shown = "-" if value is None else f"{value:.2f}{units[key]}"
        goal = "-" if bound is None else f"{bound:g}{units[key]}"
        print(f"{program + ': ' + label:<{width}}  {shown:>12}  {goal:>12}  {mark}")
    missed = [r for r in table if r[5]]
    print(f"\n{len(table) - len(missed)} of {len(table)} at or under their goals"
          + ("" if not missed else f"; {len(missed)} marked"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
