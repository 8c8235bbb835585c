#!/usr/bin/env python3
"""Mutation harness: plants each catalogued fault in a scratch copy of the tree,
rebuilds incrementally, runs the affected tests and reports which faults no test
caught.

The catalogue is scripts/mutants/*.txt (format in scripts/mutants/README.md).
The real tree is never modified: one scratch copy per source tree is kept under
the temporary directory, brought up to date at the start of every run, and its
dev build is reused so that a mutant costs one object, a relink and the tests.

    python3 scripts/mutants.py                 # every catalogue
    python3 scripts/mutants.py --module rtuom  # one module (repeatable)
    python3 scripts/mutants.py --list          # validate and list, run nothing
    python3 scripts/mutants.py --full          # run all of ctest per mutant

With --sample N --seed S it draws N faults at random instead, with standard
operators over the library's code lines (scripts/mutation_sites.py), runs the
whole test suite against each, tries every survivor once more under
AddressSanitizer and lists the survivors:

    python3 scripts/mutants.py --sample 150 --seed 7
    python3 scripts/mutants.py --sample 150 --seed 7 --list    # what the seed draws
    python3 scripts/mutants.py --sample 40 --seed 3 --module rtuom
    python3 scripts/mutants.py --sample 40 --seed 3 --file source/rtuom/rtuom_lookup.cpp
"""

import argparse
import contextlib
import fcntl
import hashlib
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import mutation_sites  # noqa: E402

CATALOGUE_DIR = os.path.join(ROOT, "scripts", "mutants")
KEYS = ("file", "find", "replace", "fault", "occurrence", "equivalent")
# Never copied into the scratch tree (and never deleted from it).
SKIP_DIRS = {".git", "build", "__pycache__", ".cache"}


@dataclass
class Mutant:
    module: str          # catalogue name
    index: int           # 1-based within its catalogue
    path: str            # catalogue file, for messages
    line: int            # line of the block in the catalogue
    file: str = ""
    find: str = ""
    replace: str = ""
    fault: str = ""
    occurrence: int = 0  # 0: find must occur exactly once
    equivalent: str = ""
    # Filled by validation.
    offset: int = -1
    find_text: str = ""
    replace_text: str = ""
    src_line: int = 0
    errors: list = field(default_factory=list)
    # Filled by the run.
    outcome: str = ""
    detail: str = ""
    seconds: float = 0.0
    # Every test that failed against the mutant, as far as the run went.
    killers: list = field(default_factory=list)
    # Every failed assertion of those tests: "Test.Name file:line: last line of
    # the message", which names the table row where the test prints it.
    failures: list = field(default_factory=list)
    # Random mutants: the operator and the mutated lines before and after.
    drawn: bool = False
    operator: str = ""
    before: str = ""
    after: str = ""

    @property
    def ident(self):
        return f"#{self.index}" if self.drawn else f"{self.module}:{self.index}"


def decode(text):
    """`\\n` is a line break; `\\\\n` stays a backslash followed by n."""
    out, i = [], 0
    while i < len(text):
        if text.startswith("\\\\n", i):
            out.append("\\n")
            i += 3
        elif text.startswith("\\n", i):
            out.append("\n")
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def parse_catalogue(path):
    module = os.path.splitext(os.path.basename(path))[0]
    mutants, problems = [], []
    block, start = {}, 0

    def flush():
        nonlocal block
        if block:
            m = Mutant(module=module, index=len(mutants) + 1, path=path, line=start)
            for k, v in block.items():
                if k == "occurrence":
                    try:
                        m.occurrence = int(v)
                    except ValueError:
                        m.errors.append(f"occurrence is not a number: {v!r}")
                else:
                    setattr(m, k, v)
            for k in ("file", "find", "fault"):
                if not getattr(m, k).strip():
                    m.errors.append(f"missing '{k}:'")
            if "replace" not in block:
                m.errors.append("missing 'replace:'")
            mutants.append(m)
        block = {}

    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            if line.lstrip().startswith("#"):
                continue
            if not line.strip():
                flush()
                continue
            key, sep, value = line.partition(":")
            key = key.strip()
            if not sep or key not in KEYS:
                problems.append(f"{path}:{n}: not a 'key: value' line of the catalogue: {line!r}")
                continue
            if value.startswith(" "):
                value = value[1:]
            if not block:
                start = n
            if key in block:
                problems.append(f"{path}:{n}: '{key}:' given twice in one block")
            block[key] = value
        flush()
    return mutants, problems


def validate(m, tree):
    """Locates the mutant's text in `tree`; records errors on the mutant."""
    if m.errors:
        return
    target = os.path.join(tree, m.file)
    if not os.path.isfile(target):
        m.errors.append(f"file not found: {m.file}")
        return
    with open(target, encoding="utf-8", errors="surrogateescape") as f:
        content = f.read()
    # Prefer `\n` as a line break; fall back to the verbatim text, so that a
    # string literal ending in \n can be matched without doubling the backslash.
    find, replace = decode(m.find), decode(m.replace)
    if find not in content and m.find in content:
        find, replace = m.find, m.replace
    hits = [mt.start() for mt in re.finditer(re.escape(find), content)]
    if not hits:
        m.errors.append(f"'find' text not in {m.file}")
        return
    if m.occurrence:
        if not 1 <= m.occurrence <= len(hits):
            m.errors.append(f"occurrence {m.occurrence} asked, {len(hits)} found in {m.file}")
            return
        off = hits[m.occurrence - 1]
    else:
        if len(hits) != 1:
            m.errors.append(f"'find' occurs {len(hits)} times in {m.file}; say 'occurrence: K'")
            return
        off = hits[0]
    if find == replace:
        m.errors.append("'replace' equals 'find'")
        return
    m.offset, m.find_text, m.replace_text = off, find, replace
    m.src_line = content.count("\n", 0, off) + 1


def load(modules):
    files = sorted(f for f in os.listdir(CATALOGUE_DIR) if f.endswith(".txt"))
    mutants, problems = [], []
    for f in files:
        name = f[:-4]
        if modules and name not in modules:
            continue
        ms, ps = parse_catalogue(os.path.join(CATALOGUE_DIR, f))
        mutants += ms
        problems += ps
    missing = set(modules or ()) - {m.module for m in mutants}
    for name in sorted(missing):
        problems.append(f"no catalogue scripts/mutants/{name}.txt (or it is empty)")
    return mutants, problems


# ---------------------------------------------------------------- scratch tree

def scratch_dir():
    key = hashlib.sha1(ROOT.encode()).hexdigest()[:10]
    return os.path.join(tempfile.gettempdir(), f"zarn-mutants-{key}")


def sync_tree(src, dst):
    """Makes dst's files equal to src's by content. Only files that differ are
    written (with a fresh time stamp, so ninja rebuilds what depends on them);
    files gone from src are removed. Returns the number of files changed."""
    changed = 0
    seen = set()
    for dirpath, dirnames, filenames in os.walk(src):
        rel = os.path.relpath(dirpath, src)
        dirnames[:] = [d for d in dirnames if not (rel == "." and d in SKIP_DIRS) and d != "__pycache__"]
        os.makedirs(os.path.join(dst, rel), exist_ok=True)
        seen.add(os.path.normpath(rel))
        for fn in filenames:
            s = os.path.join(dirpath, fn)
            d = os.path.join(dst, rel, fn)
            seen.add(os.path.normpath(os.path.join(rel, fn)))
            if os.path.islink(s):
                continue
            with open(s, "rb") as fh:
                data = fh.read()
            try:
                with open(d, "rb") as fh:
                    if fh.read() == data:
                        continue
            except FileNotFoundError:
                pass
            with open(d, "wb") as fh:
                fh.write(data)
            shutil.copymode(s, d)
            changed += 1
    for dirpath, dirnames, filenames in os.walk(dst, topdown=True):
        rel = os.path.relpath(dirpath, dst)
        if rel == ".":
            dirnames[:] = [d for d in dirnames if d not in SKIP_DIRS]
        for name in list(dirnames) + filenames:
            r = os.path.normpath(os.path.join(rel, name))
            if r not in seen:
                p = os.path.join(dirpath, name)
                if os.path.isdir(p) and not os.path.islink(p):
                    shutil.rmtree(p)
                    dirnames.remove(name)
                else:
                    os.remove(p)
                changed += 1
    return changed


def run(cmd, cwd, timeout=None, env=None):
    """Runs cmd in its own process group; returns (status, output) where status
    is the exit code or None on time-out (the whole group is then killed)."""
    p = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         start_new_session=True)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out.decode(errors="replace")
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        out, _ = p.communicate()
        return None, out.decode(errors="replace")


# Linking is most of a mutant's build: every test program links the library's
# objects again. The programs that load the shared library are not linked again
# when only it changes, and the dev scratch build links with lld where it is
# installed (about four times faster than the default linker on a debug-info
# build). The ASan build keeps the default linker: its unoptimised gfortran
# code holds a procedure address in a read-only constant that lld leaves
# unrelocated.
def scratch_options(preset):
    options = ["-DCMAKE_LINK_DEPENDS_NO_SHARED:BOOL=ON"]
    if preset == "dev" and shutil.which("ld.lld"):
        options += ["-DCMAKE_EXE_LINKER_FLAGS:STRING=-fuse-ld=lld",
                    "-DCMAKE_SHARED_LINKER_FLAGS:STRING=-fuse-ld=lld"]
    return options


def configured(build, preset):
    """True when the scratch build folder exists with the options above."""
    try:
        with open(os.path.join(build, "CMakeCache.txt")) as fh:
            cache = fh.read()
    except FileNotFoundError:
        return False
    return os.path.exists(os.path.join(build, "build.ninja")) and all(
        o[2:] in cache for o in scratch_options(preset))


def configure(preset, cwd):
    return run(["cmake", "--preset", preset] + scratch_options(preset), cwd)


def test_targets(build, cwd):
    """The library and every test program of a build folder: (all, gtests).
    The build file is brought up to date first, so that programs added to the
    tree since the folder was configured are among them."""
    run(["ninja", "-C", build, "build.ninja"], cwd)
    rc, out = run(["ninja", "-C", build, "-t", "targets", "all"], cwd)
    names = [l.split(":")[0] for l in out.splitlines()]
    ftests = sorted(n for n in names if n.startswith("ftest_") and "/" not in n)
    gtests = sorted(n for n in names if re.fullmatch(r"test_\w+", n))
    return ["zarnutils"] + ftests + gtests, gtests


@contextlib.contextmanager
def planted(tree, m):
    """Writes the mutant into its file of `tree` and puts the original back
    afterwards, whatever happens in between."""
    target = os.path.join(tree, m.file)
    with open(target, encoding="utf-8", errors="surrogateescape") as f:
        original = f.read()
    mutated = original[:m.offset] + m.replace_text + original[m.offset + len(m.find_text):]
    try:
        with open(target, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(mutated)
        yield
    finally:
        with open(target, "w", encoding="utf-8", errors="surrogateescape") as f:
            f.write(original)


class Scratch:
    def __init__(self, args):
        self.dir = scratch_dir()
        self.build = os.path.join(self.dir, "build", "dev")
        self.jobs = args.jobs
        self.full = args.full
        self.gtests = {}        # module -> test program path
        self.killers = KILLERS  # the tests that failed in the run in progress
        self.all_killers = getattr(args, "all_killers", False)
        self.other_tests = []   # ctest names that are not GoogleTest cases

    def prepare(self):
        os.makedirs(self.dir, exist_ok=True)
        self.lock = open(os.path.join(self.dir, ".mutants.lock"), "w")
        try:
            fcntl.flock(self.lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except OSError:
            sys.exit(f"mutants: another run is using {self.dir}")
        n = sync_tree(ROOT, self.dir)
        print(f"scratch tree {self.dir}: {n} file(s) updated", flush=True)
        if not configured(self.build, "dev"):
            print("configuring the scratch dev build", flush=True)
            rc, out = configure("dev", self.dir)
            if rc != 0:
                sys.exit("mutants: configuring the scratch build failed\n" + out[-4000:])
        targets = self.base_targets()
        rc, out = self.ninja(["all"] if self.full else targets)
        if rc != 0:
            sys.exit("mutants: the unmutated scratch tree does not build\n" + out[-6000:])
        self.discover()

    def base_targets(self):
        self.all_targets, gtests = test_targets(self.build, self.dir)
        self.target_names = set(gtests)
        return self.all_targets

    def targets_for(self, module):
        if self.full:
            return ["all"]
        t = ["zarnutils"] + [n for n in self.all_targets if n.startswith("ftest_")]
        if f"test_{module}" in self.target_names:
            t.append(f"test_{module}")
        return t

    def ninja(self, targets):
        return run(["ninja", "-C", self.build, f"-j{self.jobs}"] + targets, self.dir)

    def discover(self):
        tests_dir = os.path.join(self.build, "tests")
        for fn in os.listdir(tests_dir):
            m = re.fullmatch(r"test_(\w+)", fn)
            if m and os.access(os.path.join(tests_dir, fn), os.X_OK):
                self.gtests[m.group(1)] = os.path.join(tests_dir, fn)
        rc, out = run(["ctest", "--test-dir", self.build, "--show-only=json-v1"], self.dir)
        info = json.loads(out[out.index("{"):]) if rc == 0 else {"tests": []}
        self.other_tests = []
        for t in info.get("tests", []):
            cmd = t.get("command") or [""]
            # A regenerated catalogue is compared with the checked-in one,
            # which tells a planted fault in generated data by its text alone.
            # A GoogleTest program not built yet stands in as NAME_NOT_BUILT.
            if t["name"].endswith("_NOT_BUILT"):
                continue
            if not re.search(r"/test_\w+$", cmd[0]) and not t["name"].endswith(".catalogue_regenerates"):
                self.other_tests.append(t["name"])

    def env(self):
        e = dict(os.environ)
        e["ZARN_SOURCE_DIR"] = self.dir
        return e

    def run_gtest(self, module, timeout):
        """The module's GoogleTest program, sharded over the jobs. Returns
        (passed, detail) with passed None on time-out."""
        prog = self.gtests.get(module)
        if not prog:
            return True, ""
        procs = []
        shards = max(1, self.jobs)
        for i in range(shards):
            e = self.env()
            e["GTEST_TOTAL_SHARDS"], e["GTEST_SHARD_INDEX"] = str(shards), str(i)
            procs.append(subprocess.Popen([prog], cwd=os.path.dirname(prog), env=e,
                                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                          start_new_session=True))
        deadline = time.time() + timeout
        outs, codes, timed_out = [], [], False
        for p in procs:
            try:
                out, _ = p.communicate(timeout=max(0.1, deadline - time.time()))
                if p.returncode != 0:
                    outs.append(out.decode(errors="replace"))
                    codes.append(p.returncode)
            except subprocess.TimeoutExpired:
                timed_out = True
        if timed_out:
            for p in procs:
                if p.poll() is None:
                    os.killpg(p.pid, signal.SIGKILL)
                    p.communicate()
            return None, f"test_{module} timed out"
        if not codes:
            return True, ""
        text = "\n".join(outs)
        names = re.findall(r"^\[  FAILED  \] (\w+\.\S+)", text, re.M)
        self.killers += [n for n in dict.fromkeys(names) if n not in self.killers]
        FAILURES.extend(f for f in failed_assertions(text) if f not in FAILURES)
        if names:
            return False, f"test_{module}: " + ", ".join(dict.fromkeys(names))[:300]
        how = f"signal {-codes[0]}" if codes[0] < 0 else f"exit status {codes[0]}"
        running = re.findall(r"^\[ RUN      \] (\S+)", text, re.M)
        where = f" in {running[-1]}" if running else ""
        # The test that crashed caught it; the program's later tests never ran.
        if running and running[-1] not in self.killers:
            self.killers.append(running[-1])
        return False, f"test_{module} ended with {how}{where}"

    def run_ctest(self, names, timeout, overall=None, where=None):
        """ctest over `names` (None: every test) in the dev build, or as `where`
        says (e.g. ["--preset", "asan"]). Returns (passed, detail) with passed
        None on time-out; the last output is kept in self.last_output."""
        where = where or ["--test-dir", self.build]
        cmd = ["ctest"] + where + ["-j", str(self.jobs), "--timeout", str(int(timeout))]
        if not self.all_killers:
            cmd.append("--stop-on-failure")
        else:
            cmd.append("--output-on-failure")  # the failed assertions, row by row
        if names is not None:
            if not names:
                return True, ""
            cmd += ["-R", "^(" + "|".join(re.escape(n) for n in names) + ")$"]
        rc, out = run(cmd, self.dir, timeout=overall or timeout * 3 + 60, env=self.env())
        self.last_output = out
        if rc is None:
            return None, "ctest timed out"
        if rc == 0:
            return True, ""
        bad = re.findall(r"^\s*\d+ - (\S+) \((Failed|Timeout|SEGFAULT|Subprocess aborted|[^)]*)\)", out, re.M)
        self.killers += [n for n, _ in bad if n not in self.killers]
        FAILURES.extend(f for f in failed_assertions(out) if f not in FAILURES)
        if bad:
            if all(kind == "Timeout" for _, kind in bad):
                return None, "ctest: " + ", ".join(n for n, _ in bad)[:300] + " timed out"
            return False, "ctest: " + ", ".join(f"{n} ({k})" for n, k in bad)[:300]
        return False, "ctest failed: " + out.strip().splitlines()[-1][:200]

    def run_tests(self, module, timeout, path=""):
        if self.full:
            return self.run_ctest(None, timeout)
        ok, detail = self.run_gtest(module, timeout)
        if ok is not True and not (self.all_killers and ok is False):
            return ok, detail
        # The stand-alone header compilations only see a change to a public header.
        others = [t for t in self.other_tests
                  if not t.startswith("abi.c11_header.") or path.startswith("include/")]
        rest = self.run_ctest(others, timeout)
        return rest if ok is True else (ok, detail)


# The failing tests of the run in progress: the scratch builds share this list.
KILLERS = []
FAILURES = []


def failed_assertions(text):
    """Each GoogleTest failure in `text` as "Test.Name file:line: last line",
    the last line being the message a table row adds with `<<` (or the
    trace a SCOPED_TRACE leaves)."""
    found, test, where, lines = [], "", None, []

    def close():
        if where is not None:
            said = [l.strip() for l in lines if l.strip() and l.strip() != "Google Test trace:"]
            last = re.sub(r"^\S*/", "", said[-1]) if said else ""
            found.append(f"{test} {where}: {last[:160]}")

    for line in text.splitlines():
        run = re.match(r"^\[ RUN      \] (\S+)", line)
        failure = re.match(r"^(\S+?):(\d+): Failure$", line)
        if run or failure or line.startswith("["):
            close()
            where, lines = None, []
        if run:
            test = run.group(1)
        elif failure:
            where = f"{os.path.basename(failure.group(1))}:{failure.group(2)}"
        elif where is not None:
            lines.append(line)
    close()
    return list(dict.fromkeys(found))

# Test programs keep their files in /tmp/zarn_<what>_<pid>[_<tag>] and remove them
# when they end; a program killed at a time-out cannot, and a mutant that writes
# without end can leave gigabytes. After every mutant the directories and files
# of programs no longer running are removed, and a run stops rather than go on
# with too little disk for honest outcomes (a full disk fails builds and tests).
SCRATCH_PREFIX = "/tmp/zarn_"
MIN_FREE_BYTES = 4 << 30


def sweep_test_scratch():
    for entry in os.scandir(os.path.dirname(SCRATCH_PREFIX)):
        if not entry.path.startswith(SCRATCH_PREFIX):
            continue
        pid = re.search(r"_(\d+)", entry.name[len("zarn"):])
        if not pid:
            continue
        try:
            os.kill(int(pid.group(1)), 0)
            continue  # still running
        except ProcessLookupError:
            pass
        except PermissionError:
            continue
        if entry.is_dir(follow_symlinks=False):
            shutil.rmtree(entry.path, ignore_errors=True)
        else:
            with contextlib.suppress(OSError):
                os.remove(entry.path)
    free = shutil.disk_usage(os.path.dirname(SCRATCH_PREFIX)).free
    if free < MIN_FREE_BYTES:
        sys.exit(f"stopped: only {free >> 20} MiB free in /tmp; outcomes would not be trusted")


def try_mutant(tree, m, build, test):
    """Plants m in `tree`, builds and tests it, and records the outcome on m:
    stillborn (the build fails), killed, timeout or survived."""
    with planted(tree, m):
        rc, out = build()
        if rc != 0:
            errs = [l for l in out.splitlines() if "error" in l]
            m.outcome, m.detail = "stillborn", (errs[0] if errs else out.strip()[-200:])[:200]
            return
        KILLERS.clear()
        FAILURES.clear()
        ok, detail = test()
        sweep_test_scratch()
        m.outcome = {True: "survived", False: "killed", None: "timeout"}[ok]
        m.detail = detail
        m.killers = list(KILLERS)
        m.failures = list(FAILURES)


def test_module(m):
    """The GoogleTest program that owns a mutant: its catalogue's name, else the
    module folder of the mutated file."""
    parts = m.file.split("/")
    if len(parts) > 2 and parts[0] == "source":
        return m.module, parts[1]
    return m.module, m.module


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--module", action="append", default=[], help="catalogue to run (repeatable)")
    ap.add_argument("--mutant", action="append", default=[], help="one mutant, MODULE:N (repeatable)")
    ap.add_argument("--list", action="store_true",
                    help="validate and list the mutants (with --sample: the draws in order); run nothing")
    ap.add_argument("--full", action="store_true", help="run all of ctest for every mutant")
    ap.add_argument("--jobs", type=int, default=os.cpu_count() or 1, help="build and test parallelism")
    ap.add_argument("--timeout", type=float, default=0,
                    help="seconds per test step (default: 4 x the unmutated time + 20)")
    ap.add_argument("--json", help="write every mutant's outcome to this file")
    ap.add_argument("--sample", type=int, default=0, metavar="N",
                    help="draw N random mutants instead of the catalogue; with --module, from those modules")
    ap.add_argument("--file", action="append", default=[], metavar="PATH",
                    help="with --sample: draw only from this library file, e.g. source/varfile/compare.cpp "
                         "(repeatable)")
    ap.add_argument("--seed", type=int, default=0, help="seed of the random draw (default 0)")
    ap.add_argument("--draw", type=int, action="append", default=[], metavar="K",
                    help="with --sample: run only the K-th draw of the seed (repeatable)")
    ap.add_argument("--no-asan", action="store_true", help="with --sample: do not try survivors under ASan")
    ap.add_argument("--all-killers", action="store_true",
                    help="run every test against a mutant instead of stopping at the first failure, so that "
                         "--json lists every test that catches it (scripts/unique_kills.py reads the lists)")
    ap.add_argument("--max-stillborn", type=int, default=0, metavar="M",
                    help="with --sample: stop after M mutants that do not compile (default: N + 20)")
    args = ap.parse_args()
    if args.sample or args.draw:
        if args.mutant or args.full:
            ap.error("--sample runs the whole suite per mutant; --mutant and --full are for the catalogue")
        args.max_stillborn = args.max_stillborn or args.sample + 20
        return run_sample(args)

    modules = set(args.module) | {x.split(":")[0] for x in args.mutant}
    mutants, problems = load(modules)
    if args.mutant:
        mutants = [m for m in mutants if m.ident in set(args.mutant)]
    for m in mutants:
        if not m.equivalent:
            validate(m, ROOT)
    bad = [m for m in mutants if m.errors]
    for p in problems:
        print("catalogue: " + p)
    for m in bad:
        print(f"catalogue: {m.path}:{m.line}: mutant {m.ident}: " + "; ".join(m.errors))

    if args.list:
        for m in mutants:
            where = f"{m.file}:{m.src_line}" if m.src_line else m.file
            tag = "equivalent" if m.equivalent else ("INVALID" if m.errors else "")
            print(f"{m.ident:<16} {where:<48} {tag:<10} {m.fault}")
        print(f"{len(mutants)} mutant(s), {len(bad)} invalid, "
              f"{sum(1 for m in mutants if m.equivalent)} kept as equivalent")
        return 1 if bad or problems else 0

    todo = [m for m in mutants if not m.errors and not m.equivalent]
    if not todo:
        print("no mutant to run")
        return 1 if bad or problems or modules else 0

    scratch = Scratch(args)
    scratch.prepare()

    # The unmutated tests must pass, and give the time limit.
    baseline = {}
    for mod in dict.fromkeys(test_module(m)[0] if test_module(m)[0] in scratch.gtests else test_module(m)[1]
                             for m in todo):
        t0 = time.time()
        ok, detail = scratch.run_tests(mod, args.timeout or 1800)
        baseline[mod] = time.time() - t0
        if ok is not True:
            sys.exit(f"mutants: the unmutated tests of {mod} fail, fix them first: {detail}")
        print(f"baseline {mod}: tests pass in {baseline[mod]:.1f} s", flush=True)

    interrupted = False
    for k, m in enumerate(todo, 1):
        cat, folder = test_module(m)
        mod = cat if cat in scratch.gtests else folder
        timeout = args.timeout or 4 * baseline[mod] + 20
        t0 = time.time()
        try:
            try_mutant(scratch.dir, m, lambda: scratch.ninja(scratch.targets_for(mod)),
                       lambda: scratch.run_tests(mod, timeout, m.file))
        except KeyboardInterrupt:
            interrupted = True
        m.seconds = time.time() - t0
        if interrupted:
            print("\ninterrupted; the scratch file is restored")
            break
        print(f"[{k}/{len(todo)}] {m.ident:<14} {m.outcome:<9} {m.seconds:5.1f}s  {m.file}:{m.src_line}"
              + (f"  ({m.detail})" if m.outcome != "survived" and m.detail else ""), flush=True)

    # Leave the scratch build matching the tree.
    scratch.ninja(scratch.targets_for("") if not args.full else ["all"])
    report(todo, mutants, bad)
    if args.json:
        with open(args.json, "w") as f:
            json.dump([{"id": m.ident, "file": m.file, "line": m.src_line, "fault": m.fault,
                        "outcome": m.outcome or ("equivalent" if m.equivalent else "invalid"),
                        "detail": m.detail, "killers": m.killers, "failures": m.failures,
                        "seconds": round(m.seconds, 1)}
                       for m in mutants], f, indent=1)
    return 1 if bad or problems or interrupted else 0


def report(todo, mutants, bad):
    done = [m for m in todo if m.outcome]
    print("\nmodule            mutants  killed  stillborn  timeout  survived  score")
    mods = sorted({m.module for m in done})
    for mod in mods + ["TOTAL"]:
        ms = [m for m in done if mod == "TOTAL" or m.module == mod]
        c = {k: sum(1 for m in ms if m.outcome == k) for k in ("killed", "stillborn", "timeout", "survived")}
        caught = c["killed"] + c["stillborn"] + c["timeout"]
        score = 100.0 * caught / len(ms) if ms else 0.0
        print(f"{mod:<17} {len(ms):>7}  {c['killed']:>6}  {c['stillborn']:>9}  {c['timeout']:>7}  "
              f"{c['survived']:>8}  {score:5.1f}%")
    survivors = [m for m in done if m.outcome == "survived"]
    if survivors:
        print("\nsurviving mutants:")
        for m in survivors:
            print(f"  {m.ident:<14} {m.file}:{m.src_line}\n      fault: {m.fault}")
    eq = [m for m in mutants if m.equivalent]
    if eq:
        print(f"\n{len(eq)} mutant(s) kept as equivalent, not run")
    if bad:
        print(f"{len(bad)} invalid mutant(s) not run (listed above)")
    live = [m for m in done if m.outcome != "stillborn"]
    if live:
        k = sum(1 for m in live if m.outcome in ("killed", "timeout"))
        print(f"score without stillborn mutants: {k}/{len(live)} = {100.0 * k / len(live):.1f}%")


# ------------------------------------------------------------- random mutants

class Draws:
    """The random mutants of one seed, numbered in the order they are drawn."""

    def __init__(self, files, seed):
        self.sampler = mutation_sites.Sampler(files, seed)
        self.texts = {f.path: f.text for f in files}
        self.count = 0

    def next(self):
        """The next drawn Mutant, or None when every place has been drawn."""
        drawn = self.sampler.draw()
        if drawn is None:
            return None
        site, replacement = drawn
        self.count += 1
        m = Mutant(module=site.file.split("/")[1], index=self.count, path="", line=0, file=site.file,
                   find=site.find, replace=replacement, fault=mutation_sites.describe(site, replacement),
                   drawn=True, operator=site.operator)
        m.offset, m.find_text, m.replace_text, m.src_line = site.start, site.find, replacement, site.line
        m.before, m.after = changed_lines(self.texts[site.file], site.start, site.end, replacement)
        return m


def changed_lines(text, start, end, replacement):
    """The whole lines around text[start:end], before and after the change."""
    first = text.rfind("\n", 0, start) + 1
    last = text.find("\n", end)
    last = len(text) if last < 0 else last
    return text[first:last], text[first:start] + replacement + text[end:last]


def show_change(m, indent="      "):
    """The mutated lines, before (-) and after (+)."""
    out = []
    for sign, text in (("-", m.before), ("+", m.after)):
        for k, line in enumerate(text.split("\n")):
            out.append(f"{indent}{sign if k == 0 else ' '} {line.strip()}")
    return "\n".join(out)


def suite_limits(output, elapsed, args):
    """Time limits for a mutant from the unmutated run: per test 4 x the
    slowest test + 20 s (or --timeout), for the whole suite 4 x its time + 60 s."""
    times = [float(t) for t in re.findall(r"Test\s+#\d+: \S+ \.*\s+Passed\s+([\d.]+) sec", output)]
    slowest = max(times) if times else elapsed
    per_test = args.timeout or 4 * slowest + 20
    return per_test, max(4 * elapsed + 60, per_test + 60)


class AsanScratch:
    """The scratch tree's second build, with the asan preset, prepared on
    first use: a survivor of the plain build is tried there once more."""

    def __init__(self, scratch, args):
        self.scratch = scratch
        self.args = args
        self.build = os.path.join(scratch.dir, "build", "asan")
        self.state = None   # None: not prepared yet; then True (usable) or False
        self.targets = []
        self.per_test = self.overall = 0

    def ready(self):
        if self.state is None:
            self.state = self.prepare()
        return self.state

    def prepare(self):
        """Configures and builds the unmutated tree, and runs its suite once;
        False (with a note) when either fails, so that nothing is credited to it."""
        print("preparing the scratch ASan build (kept for later runs)", flush=True)
        if not configured(self.build, "asan"):
            rc, out = configure("asan", self.scratch.dir)
            if rc != 0:
                print("mutants: configuring the scratch ASan build failed; survivors stay survivors\n"
                      + out[-2000:])
                return False
        self.targets, _ = test_targets(self.build, self.scratch.dir)
        t0 = time.time()
        rc, out = self.ninja()
        if rc != 0:
            print("mutants: the unmutated ASan build fails; survivors stay survivors\n" + out[-2000:])
            return False
        print(f"ASan build ready in {time.time() - t0:.0f} s", flush=True)
        t0 = time.time()
        ok, detail = self.test(1800, None)
        elapsed = time.time() - t0
        if ok is not True:
            print(f"mutants: the unmutated suite fails under ASan ({detail}); survivors stay survivors")
            return False
        self.per_test, self.overall = suite_limits(self.scratch.last_output, elapsed, self.args)
        print(f"baseline under ASan: the whole suite passes in {elapsed:.1f} s", flush=True)
        return True

    def ninja(self):
        return run(["ninja", "-C", self.build, f"-j{self.args.jobs}"] + self.targets, self.scratch.dir)

    def test(self, per_test, overall):
        return self.scratch.run_ctest(None, per_test, overall, where=["--preset", "asan"])

    def try_survivor(self, m):
        """Tries a survivor under ASan; a fault caught there counts as killed."""
        plain = (m.outcome, m.detail)
        try_mutant(self.scratch.dir, m, self.ninja, lambda: self.test(self.per_test, self.overall))
        if m.outcome in ("killed", "timeout"):
            m.outcome = "killed (asan)"
        else:
            m.outcome, m.detail = plain


def describe_library(files):
    code_lines = sum(len(f.code_lines) for f in files)
    drawable = len({(f.path, s.line) for f in files for s in f.sites})
    places = sum(len(f.sites) for f in files)
    return f"{len(files)} files, {code_lines} code lines, {drawable} with a place to mutate ({places} places)"


def list_draws(draws, count):
    """Prints what a seed draws, in order, without running anything."""
    for _ in range(count):
        m = draws.next()
        if m is None:
            print("every place has been drawn")
            break
        print(f"{m.ident:<6} {m.file}:{m.src_line}  {m.fault}")
        print(show_change(m))
    print("a mutant that does not compile is replaced by the next draw (list more to see them)")
    return 0


def run_sample(args):
    """Draws args.sample random mutants with args.seed, runs the whole suite
    against each (survivors once more under ASan) and reports the survivors."""
    modules = set(args.module)
    files = mutation_sites.read_library(ROOT, modules)
    unknown = modules - {f.path.split("/")[1] for f in files}
    if unknown:
        sys.exit("mutants: no library code in source/" + ", source/".join(sorted(unknown)))
    if args.file:
        missing = set(args.file) - {f.path for f in files}
        if missing:
            sys.exit("mutants: not a drawable library file: " + ", ".join(sorted(missing)))
        files = [f for f in files if f.path in set(args.file)]
    print(f"seed {args.seed}: {describe_library(files)}", flush=True)
    draws = Draws(files, args.seed)
    if args.list:
        return list_draws(draws, max([args.sample] + args.draw))

    scratch = Scratch(args)
    scratch.prepare()
    t0 = time.time()
    ok, detail = scratch.run_ctest(None, args.timeout or 1800, None)
    elapsed = time.time() - t0
    if ok is not True:
        sys.exit(f"mutants: the unmutated suite fails, fix it first: {detail}")
    per_test, overall = suite_limits(scratch.last_output, elapsed, args)
    print(f"baseline: the whole suite passes in {elapsed:.1f} s", flush=True)
    asan = None if args.no_asan else AsanScratch(scratch, args)

    wanted = set(args.draw)
    goal = len(wanted) if wanted else args.sample
    scored, stillborn, interrupted = [], [], False
    while len(scored) < goal:
        if len(stillborn) > args.max_stillborn:
            print(f"mutants: more than {args.max_stillborn} mutants did not compile; stopping")
            break
        m = draws.next()
        if m is None:
            print("every place has been drawn")
            break
        if wanted and m.index not in wanted:
            continue
        t0 = time.time()
        try:
            try_mutant(scratch.dir, m, lambda: scratch.ninja(scratch.all_targets),
                       lambda: scratch.run_ctest(None, per_test, overall))
            m.seconds = time.time() - t0
            # The ASan build is prepared outside the mutant's time.
            if m.outcome == "survived" and asan and asan.ready():
                t0 = time.time()
                asan.try_survivor(m)
                m.seconds += time.time() - t0
        except KeyboardInterrupt:
            interrupted = True
        if interrupted:
            print("\ninterrupted; the scratch file is restored")
            break
        if m.outcome == "stillborn":
            stillborn.append(m)
            step = "redrawn"
        else:
            scored.append(m)
            step = f"{len(scored)}/{goal}"
        print(f"[{step}] {m.ident:<5} {m.outcome:<13} {m.seconds:5.1f}s  {m.file}:{m.src_line}  {m.fault}"
              + (f"  ({m.detail})" if m.outcome != "survived" and m.detail else ""), flush=True)

    # Leave the scratch build matching the tree.
    scratch.ninja(scratch.all_targets)
    report_sample(args, scored, stillborn)
    if args.json:
        write_sample_json(args, scored, stillborn)
    return 1 if interrupted or len(scored) < goal else 0


def report_sample(args, scored, stillborn):
    """Score per module and per operator, then every survivor with its change."""
    def table(title, key):
        print(f"\n{title:<22} scored  killed  survived  score")
        for name in sorted({key(m) for m in scored}) + ["TOTAL"]:
            ms = [m for m in scored if name == "TOTAL" or key(m) == name]
            killed = sum(1 for m in ms if m.outcome != "survived")
            print(f"{name:<22} {len(ms):>6}  {killed:>6}  {len(ms) - killed:>8}  {100.0 * killed / len(ms):5.1f}%")

    if not scored:
        print("\nno mutant scored")
        return
    table("module", lambda m: m.module)
    table("operator", lambda m: m.operator)
    survivors = [m for m in scored if m.outcome == "survived"]
    if survivors:
        print("\nsurviving mutants:")
        for m in survivors:
            print(f"  {m.ident:<5} {m.file}:{m.src_line}  {m.fault}")
            print(show_change(m, indent="        "))
    killed = len(scored) - len(survivors)
    by_asan = sum(1 for m in scored if m.outcome == "killed (asan)")
    by_time = sum(1 for m in scored if m.outcome == "timeout")
    print(f"\nseed {args.seed}: {killed}/{len(scored)} killed = {100.0 * killed / len(scored):.1f}%"
          f" ({by_asan} only under ASan, {by_time} by a time-out); {len(stillborn)} mutant(s) that did not"
          f" compile dropped and redrawn")


def write_sample_json(args, scored, stillborn):
    killed = sum(1 for m in scored if m.outcome != "survived")
    record = {
        "seed": args.seed, "sample": args.sample, "modules": sorted(args.module), "scored": len(scored),
        "killed": killed, "score": round(100.0 * killed / len(scored), 1) if scored else 0.0,
        "mutants": [{"draw": m.index, "file": m.file, "line": m.src_line, "operator": m.operator,
                     "fault": m.fault, "before": m.before, "after": m.after, "outcome": m.outcome,
                     "detail": m.detail, "killers": m.killers, "failures": m.failures,
                     "seconds": round(m.seconds, 1)}
                    for m in sorted(scored + stillborn, key=lambda m: m.index)],
    }
    with open(args.json, "w") as f:
        json.dump(record, f, indent=1)


if __name__ == "__main__":
    sys.exit(main())
