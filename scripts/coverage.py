#!/usr/bin/env python3
"""Line and branch coverage of the library per module, from the counters that
the coverage build's test run left behind (`make coverage` builds, runs the
suite and then this script).

gcovr reads the counters; the counts of source/ are kept (tests and generated
files left out), a module header's counts gathered under its one name, and
gcovr writes an HTML report with every line from them; this script prints one
row per module. Branches that only the compiler makes (exception clean-up, code it
cannot reach) are left out, so that a branch counted is one written in the
source.

    python3 scripts/coverage.py                      # after make coverage
    python3 scripts/coverage.py --baseline old.json  # with the change since old.json
"""

import argparse
import json
import os
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from codefiles import is_generated  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def run_gcovr(args, cwd):
    """Runs gcovr; stops the script with its output when it fails."""
    done = subprocess.run(["gcovr"] + args, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if done.returncode != 0:
        sys.exit("coverage: gcovr failed\n" + done.stdout[-4000:])


def library_file(path):
    """The file of source/ that `path` (relative to the root; a staged header
    may be a link into source/) really is, or None when it is not hand-written
    library code."""
    real = os.path.realpath(os.path.join(ROOT, path))
    rel = os.path.relpath(real, ROOT).replace(os.sep, "/")
    if not rel.startswith("source/") or is_generated(real):
        return None
    return rel


def merged_by_file(raw, merged):
    """Rewrites gcovr's detailed counts so that every file carries the name of
    its source: the build reaches a module's internal headers through links
    in build/*/layers/, and their counts belong to the one file in source/."""
    with open(raw) as f:
        data = json.load(f)
    kept = []
    for entry in data["files"]:
        rel = library_file(entry["file"])
        if rel:
            entry["file"] = rel
            kept.append(entry)
    data["files"] = kept
    with open(merged, "w") as f:
        json.dump(data, f)


def report(build, summary, html, jobs):
    """Collects the counters in `build` with gcovr, merges the counts of each
    source file and writes the summary JSON and the HTML report from them."""
    if not shutil.which("gcovr"):
        sys.exit("coverage: gcovr is not installed (scripts/deps.sh installs it)")
    # A file no longer measured must not keep its old page.
    shutil.rmtree(os.path.dirname(html), ignore_errors=True)
    os.makedirs(os.path.dirname(html))
    raw = os.path.join(build, "gcovr-raw.json")
    merged = os.path.join(build, "gcovr-merged.json")
    run_gcovr(["--root", ROOT, "--object-directory", build, "-j", str(jobs),
               "--exclude-unreachable-branches", "--exclude-throw-branches", "--json", raw], ROOT)
    merged_by_file(raw, merged)
    # gcovr adds up the counts of entries with the same name.
    run_gcovr(["--root", ROOT, "--add-tracefile", merged, "--json-summary", summary, "--json-summary-pretty",
               "--html-details", html, "--html-title", "zarnutils coverage"], ROOT)


def per_module(summary):
    """{module: [lines covered, lines, branches covered, branches]} from a
    gcovr summary file."""
    with open(summary) as f:
        data = json.load(f)
    modules = {}
    for entry in data["files"]:
        parts = entry["filename"].replace(os.sep, "/").split("/")
        if len(parts) < 3 or parts[0] != "source":
            continue
        row = modules.setdefault(parts[1], [0, 0, 0, 0])
        row[0] += entry["line_covered"]
        row[1] += entry["line_total"]
        row[2] += entry["branch_covered"]
        row[3] += entry["branch_total"]
    return modules


def percent(covered, total):
    return 100.0 * covered / total if total else 100.0


def print_table(modules, baseline):
    """One row per module and a total; with a baseline, the change in points."""
    head = f"{'module':12} {'lines':>7} {'of':>7} {'line %':>7}  {'branches':>8} {'of':>7} {'branch %':>8}"
    if baseline:
        head += f"  {'line +-':>7} {'branch +-':>9}"
    print(head)
    total, base_total = [0, 0, 0, 0], [0, 0, 0, 0]
    for name in sorted(modules) + ["TOTAL"]:
        if name == "TOTAL":
            row, base = total, base_total
        else:
            row, base = modules[name], (baseline or {}).get(name)
            total = [a + b for a, b in zip(total, row)]
            base_total = [a + b for a, b in zip(base_total, base or [0, 0, 0, 0])]
        text = (f"{name:12} {row[0]:>7} {row[1]:>7} {percent(row[0], row[1]):6.1f}%"
                f"  {row[2]:>8} {row[3]:>7} {percent(row[2], row[3]):7.1f}%")
        if baseline and base:
            text += (f"  {percent(row[0], row[1]) - percent(base[0], base[1]):+7.1f}"
                     f" {percent(row[2], row[3]) - percent(base[2], base[3]):+9.1f}")
        print(text)


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default=os.path.join(ROOT, "build", "coverage"), help="the coverage build folder")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1, help="gcov processes")
    ap.add_argument("--baseline", help="an earlier summary.json to compare with")
    ap.add_argument("--no-run", action="store_true", help="only print the table of the last summary")
    args = ap.parse_args()
    summary = os.path.join(args.build, "summary.json")
    html = os.path.join(args.build, "html", "index.html")
    if not args.no_run:
        report(args.build, summary, html, args.jobs)
    baseline = per_module(args.baseline) if args.baseline else None
    print_table(per_module(summary), baseline)
    print(f"\nevery line: {os.path.relpath(html, ROOT)}; figures: {os.path.relpath(summary, ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
