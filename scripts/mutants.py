#!/usr/bin/env python3
"""Mutation run: how many small faults in the code does the test suite notice?

Flips one operator on a sampled line of production code (a comparison,
&& and ||, + 1 and - 1, true and false), rebuilds incrementally, runs the
suites that the rebuild touched with a time-out (every test whose
executable, or a program it starts, was relinked), puts the line back, and prints the share of
mutants the suite killed and every survivor with its file and line.

    scripts/mutants.py [--seed 1] [--count 60] [--files REGEX] [--build build-mut]

The sample depends only on the seed, the count, the file pattern and the
code, so a run can be repeated. A mutant that does not compile is not
counted. Not part of CI: each mutant costs a rebuild and a suite run
(about a minute on two cores). Uses Debian's python3 only.
"""

import argparse
import os
import random
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Production code: everything but the tests, fuzzers and benchmarks; by
# default the program's own folders, not the simulator and the other tools
# that serve the tests.
SKIP_DIRS = ("tests/", "fuzz/", "bench/", "build")
PROGRAM = r"^(app|client|scene|stats|settings|update|cntsys|validation|fleet|capture)/"

# (pattern, replacement, name). Binary operators must stand between blanks,
# as the project's formatting puts them, so templates, streams, pointers and
# includes are left alone.
OPERATORS = [
    (r" == ", " != ", "== to !="),
    (r" != ", " == ", "!= to =="),
    (r" <= ", " < ", "<= to <"),
    (r" >= ", " > ", ">= to >"),
    (r" < ", " <= ", "< to <="),
    (r" > ", " >= ", "> to >="),
    (r" && ", " || ", "&& to ||"),
    (r" \|\| ", " && ", "|| to &&"),
    (r" \+ 1\b", " - 1", "+ 1 to - 1"),
    (r" - 1\b", " + 1", "- 1 to + 1"),
    (r"\btrue\b", "false", "true to false"),
    (r"\bfalse\b", "true", "false to true"),
]

STRING = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'')


def source_files(pattern):
    out = subprocess.run(["git", "ls-files", "*.cpp"], cwd=ROOT, check=True,
                         capture_output=True, text=True).stdout.split()
    rx = re.compile(pattern) if pattern else None
    return sorted(f for f in out
                  if not f.startswith(SKIP_DIRS) and (rx is None or rx.search(f)))


def candidates(files):
    """Every (file, line number, column, operator index) that can be flipped."""
    found = []
    for path in files:
        with open(os.path.join(ROOT, path), encoding="utf-8") as f:
            lines = f.read().split("\n")
        in_comment = False
        for number, line in enumerate(lines, 1):
            text = line
            if in_comment:
                if "*/" not in text:
                    continue
                text = " " * (text.index("*/") + 2) + text[text.index("*/") + 2:]
                in_comment = False
            stripped = text.strip()
            if (not stripped or stripped.startswith(("//", "#", "*", "Q_", "static_assert"))
                    or "qC" in stripped[:4]):
                continue
            if "/*" in text and "*/" not in text:
                in_comment = True
                text = text[:text.index("/*")]
            # Blank out strings and trailing comments so nothing inside is flipped.
            code = STRING.sub(lambda m: " " * len(m.group(0)), text)
            if "//" in code:
                code = code[:code.index("//")]
            # Lines that only log or assert change nothing the operator sees.
            if re.search(r"\b(qC?Debug|qC?Warning|qC?Info|Q_ASSERT)\b", code):
                continue
            for index, (pattern, _, _) in enumerate(OPERATORS):
                for m in re.finditer(pattern, code):
                    found.append((path, number, m.start(), index))
    return found


def apply(path, number, column, index):
    """Flips the operator in place and returns the original text."""
    full = os.path.join(ROOT, path)
    with open(full, encoding="utf-8") as f:
        original = f.read()
    lines = original.split("\n")
    line = lines[number - 1]
    pattern, replacement, _ = OPERATORS[index]
    m = re.compile(pattern).match(line, column)
    if not m:
        raise RuntimeError(f"{path}:{number}: operator not found at {column}")
    lines[number - 1] = line[:m.start()] + replacement + line[m.end():]
    with open(full, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return original, lines[number - 1]


def run(cmd, timeout, log):
    try:
        r = subprocess.run(cmd, cwd=ROOT, stdout=log, stderr=subprocess.STDOUT, timeout=timeout)
        return r.returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def failed_tests(log_path):
    """The suites the last ctest run named as failed, from the log's tail."""
    with open(log_path, errors="replace") as f:
        tail = f.read()[-4000:]
    tail = tail[tail.rfind("The following tests FAILED"):] if "tests FAILED" in tail else ""
    return re.findall(r"^\s*\d+ - (\S+)", tail, re.M)


def suite_plan(build):
    """Each test's command and the program binaries its sources start.

    A test needs running for a mutant only when its own executable, or a
    program it starts (the simulator, the configurator, pcdtool), was relinked:
    any other test runs the very code that passed unmutated."""
    import json
    out = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], cwd=ROOT,
                         check=True, capture_output=True, text=True).stdout
    bin_dir = os.path.join(build, "bin")
    tests = {t["name"]: t.get("command", [""])[0] for t in json.loads(out)["tests"]}
    programs = [f for f in os.listdir(bin_dir)
                if os.path.join(bin_dir, f) not in tests.values() and not f.endswith(".qm")]
    plan = {}
    for name, command in tests.items():
        uses = {command} if command.startswith(bin_dir) else None  # None: always run
        folder = None
        for d in sorted(os.listdir(os.path.join(ROOT, "tests"))):
            lists = os.path.join(ROOT, "tests", d, "CMakeLists.txt")
            if os.path.exists(lists):
                with open(lists) as fh:
                    if re.search(r"velmora_test\(\s*" + re.escape(name) + r"\b", fh.read()):
                        folder = os.path.join(ROOT, "tests", d)
        if uses is not None and folder:
            text = ""
            for f in os.listdir(folder):
                if f.endswith((".cpp", ".h")):
                    with open(os.path.join(folder, f), errors="replace") as fh:
                        text += fh.read()
            if "devsim_process.h" in text:
                text += "velmora-devsim"
            uses |= {os.path.join(bin_dir, p) for p in programs if p in text}
        plan[name] = uses
    return plan


def binaries(build):
    bin_dir = os.path.join(build, "bin")
    return {os.path.join(bin_dir, f): os.stat(os.path.join(bin_dir, f)).st_mtime_ns
            for f in os.listdir(bin_dir)}


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--count", type=int, default=60)
    ap.add_argument("--files", default=PROGRAM,
                    help="regular expression on file paths (default: the program's own folders)")
    ap.add_argument("--build", default="build-mut", help="build tree (made when missing)")
    ap.add_argument("--timeout", type=int, default=900, help="seconds for one suite run")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    args = ap.parse_args()

    pool = candidates(source_files(args.files))
    rng = random.Random(args.seed)
    sample = rng.sample(pool, min(args.count, len(pool)))
    print(f"seed {args.seed}, {len(sample)} mutants of {len(pool)} candidates")
    if args.list:
        for path, number, _, index in sample:
            print(f"  {path}:{number}  {OPERATORS[index][2]}")
        return 0

    build = os.path.join(ROOT, args.build)
    log_path = os.path.join(build, "mutants.log")
    os.makedirs(build, exist_ok=True)
    # Optimised but without debug information, linked by lld: a mutant's
    # relinking is most of its rebuild.
    env_ok = subprocess.run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                             "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -DNDEBUG",
                             "-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld",
                             "-DVELMORA_BUILD_BENCH=OFF"], stdout=subprocess.DEVNULL).returncode == 0
    with open(log_path, "w") as log:
        if not env_ok or run(["cmake", "--build", build, "-j2"], 3600, log) != 0:
            print("the unmutated code does not build", file=sys.stderr)
            return 2
        ctest = ["ctest", "--test-dir", build, "-j2", "--timeout", "300", "--output-on-failure"]
        if run(ctest, args.timeout, log) != 0:
            print(f"the suite fails without mutants; see {log_path}", file=sys.stderr)
            return 2

    plan = suite_plan(build)
    killed, survivors, stillborn = 0, [], 0
    started = time.time()
    for n, (path, number, column, index) in enumerate(sample, 1):
        original, mutated = apply(path, number, column, index)
        try:
            with open(log_path, "a") as log:
                log.write(f"\n=== {path}:{number} {OPERATORS[index][2]}\n")
                log.flush()
                before = binaries(build)
                built = run(["cmake", "--build", build, "-j2"], 1800, log)
                after = binaries(build)
                changed = {b for b, t in after.items() if before.get(b) != t}
                names = sorted(n for n, uses in plan.items() if uses is None or uses & changed)
                if built != 0:
                    stillborn += 1
                    verdict = "does not build"
                else:
                    pick = ["-R", "^(" + "|".join(re.escape(n) for n in names) + ")$"]
                    result = run(ctest + pick, args.timeout, log) if names else 0
                    if result == 0:
                        survivors.append((path, number, OPERATORS[index][2], mutated.strip()))
                        verdict = "SURVIVED"
                    else:
                        killed += 1
                        verdict = ("killed by " + " ".join(failed_tests(log_path))
                                   if result != "timeout" else "killed (time-out)")
        finally:
            with open(os.path.join(ROOT, path), "w", encoding="utf-8") as f:
                f.write(original)
        print(f"[{n}/{len(sample)}] {path}:{number} {OPERATORS[index][2]}: {verdict}", flush=True)

    # Leave the build tree matching the code again.
    with open(log_path, "a") as log:
        run(["cmake", "--build", build, "-j2"], 3600, log)
    counted = killed + len(survivors)
    share = 100.0 * killed / counted if counted else 0.0
    minutes = (time.time() - started) / 60
    print(f"\nkilled {killed} of {counted} ({share:.0f} %), {stillborn} did not build, "
          f"seed {args.seed}, {minutes:.0f} min")
    for path, number, name, line in survivors:
        print(f"  survived  {path}:{number}  {name}:  {line}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
