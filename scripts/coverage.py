#!/usr/bin/env python3
"""Line and branch coverage of the library per module, from the counters that
the coverage build's test run left behind (`make coverage` builds, runs the
suite and then this script).

gcovr reads the counters of source/ (tests and generated files left out) and
writes an HTML report with every line; this script prints one row per
module. Branches that only the compiler makes (exception clean-up, code it
cannot reach) are left out, so that a branch counted is one written in the
source.

    python3 scripts/coverage.py                      # after make coverage
    python3 scripts/coverage.py --baseline old.json  # with the change since old.json
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from codefiles import is_generated  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def generated_files():
    """The generated files under source/, as paths from the root."""
    found = []
    for dirpath, _, filenames in os.walk(os.path.join(ROOT, "source")):
        for name in filenames:
            path = os.path.join(dirpath, name)
            if is_generated(path):
                found.append(os.path.relpath(path, ROOT))
    return sorted(found)


def run_gcovr(build, summary, html, jobs):
    """Runs gcovr over the counters in `build`; writes the summary JSON and the
    HTML report."""
    if not shutil.which("gcovr"):
        sys.exit("coverage: gcovr is not installed (scripts/deps.sh installs it)")
    os.makedirs(os.path.dirname(html), exist_ok=True)
    cmd = ["gcovr", "--root", ROOT, "--object-directory", build, "-j", str(jobs),
           "--filter", re.escape(os.path.join(ROOT, "source") + os.sep),
           "--exclude-unreachable-branches", "--exclude-throw-branches",
           "--json-summary", summary, "--json-summary-pretty",
           "--html-details", html, "--html-title", "zarnutils coverage"]
    for rel in generated_files():
        cmd += ["--exclude", re.escape(os.path.join(ROOT, rel))]
    done = subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if done.returncode != 0:
        sys.exit("coverage: gcovr failed\n" + done.stdout[-4000:])


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
    change = " " * 2 + f"{'lines +-':>9} {'branches +-':>12}" if baseline else ""
    print(f"{'module':12} {'lines':>13} {'line %':>7} {'branches':>13} {'branch %':>9}{change}")
    total = [0, 0, 0, 0]
    base_total = [0, 0, 0, 0]
    for name in sorted(modules) + ["TOTAL"]:
        if name == "TOTAL":
            row, base = total, base_total
        else:
            row, base = modules[name], (baseline or {}).get(name)
            total = [a + b for a, b in zip(total, row)]
            base_total = [a + b for a, b in zip(base_total, base or [0, 0, 0, 0])]
        text = (f"{name:12} {row[0]:>6}/{row[1]:<6} {percent(row[0], row[1]):6.1f}% "
                f"{row[2]:>6}/{row[3]:<6} {percent(row[2], row[3]):8.1f}%")
        if baseline and base:
            text += (f"  {percent(row[0], row[1]) - percent(base[0], base[1]):+9.1f}"
                     f" {percent(row[2], row[3]) - percent(base[2], base[3]):+12.1f}")
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
        run_gcovr(args.build, summary, html, args.jobs)
    baseline = per_module(args.baseline) if args.baseline else None
    print_table(per_module(summary), baseline)
    print(f"\nevery line: {os.path.relpath(html, ROOT)}; figures: {os.path.relpath(summary, ROOT)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
