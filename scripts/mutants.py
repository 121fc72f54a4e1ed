#!/usr/bin/env python3
"""Mutation check: do the tests notice a plausible slip?

Reads the mutants listed in scripts/mutants.txt, applies one at a time to the source tree,
rebuilds incrementally in build-mutants/ (one build, reused), runs every test and reports
the mutant as killed (some test failed), survived (every test passed), stale (its text is
no longer in the file, or no longer once) or "no build" (it does not compile, so it proves
nothing about the tests). The source file is always restored, also on Ctrl-C.

    python3 scripts/mutants.py [--list FILE] [--only TEXT] [--build DIR]

--only runs the mutants whose file or slip contains TEXT. Exit status: 0 when every
mutant run was killed, 1 otherwise (mend the tests, or the list where a mutant is stale
or does not build).
"""
import argparse
import os
import pathlib
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent


class Mutant:
    def __init__(self, number, fields):
        self.number = number
        self.file = fields["file"]
        self.find = fields["find"]
        self.replace = fields["replace"]
        self.slip = fields.get("slip", "")

    def describe(self):
        return f"#{self.number} {self.file}: {self.slip}"


def read_mutants(path):
    """Blocks of 'key: value' lines separated by blank lines; '#' starts a comment line.
    Keys: file, find, replace (may be empty), slip. Values keep inner spaces; a value of
    several lines continues on lines that start with '|'."""
    mutants, fields, key = [], {}, None
    lines = pathlib.Path(path).read_text().splitlines() + [""]
    for line in lines:
        if line.startswith("#"):
            continue
        if not line.strip():
            if fields:
                missing = {"file", "find", "replace"} - fields.keys()
                if missing:
                    sys.exit(f"{path}: mutant {len(mutants) + 1} lacks {', '.join(missing)}")
                mutants.append(Mutant(len(mutants) + 1, fields))
            fields, key = {}, None
        elif line.startswith("|") and key:
            fields[key] += "\n" + line[1:]
        else:
            key, _, value = line.partition(":")
            key = key.strip()
            fields[key] = value[1:] if value.startswith(" ") else value
    return mutants


def run(command, **kwargs):
    return subprocess.run(command, cwd=ROOT, stdout=subprocess.PIPE,
                          stderr=subprocess.STDOUT, text=True, **kwargs)


def configure(build):
    if not (ROOT / build / "build.ninja").exists():
        result = run(["cmake", "-S", ".", "-B", build, "-G", "Ninja",
                      "-DQUILLON_BUILD_BENCH=OFF"])
        if result.returncode:
            sys.exit(result.stdout)
    result = run(["cmake", "--build", build])
    if result.returncode:
        sys.exit("the unmutated tree does not build:\n" + result.stdout[-3000:])


def tests_pass(build):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    result = run(["ctest", "--test-dir", build, "--parallel", str(os.cpu_count() or 2),
                  "--stop-on-failure", "--timeout", "300"], env=env)
    return result.returncode == 0


def try_mutant(mutant, build):
    path = ROOT / mutant.file
    original = path.read_text()
    if original.count(mutant.find) != 1:
        return "stale"
    try:
        path.write_text(original.replace(mutant.find, mutant.replace))
        if run(["cmake", "--build", build]).returncode:
            return "no build"
        return "survived" if tests_pass(build) else "killed"
    finally:
        path.write_text(original)


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--list", default=str(ROOT / "scripts" / "mutants.txt"))
    parser.add_argument("--only", default="")
    parser.add_argument("--build", default="build-mutants")
    args = parser.parse_args()

    mutants = [m for m in read_mutants(args.list)
               if args.only in m.file or args.only in m.slip]
    configure(args.build)
    if not tests_pass(args.build):
        sys.exit("the unmutated tree fails its tests: mend that first")

    tally = {}
    for mutant in mutants:
        started = time.monotonic()
        outcome = try_mutant(mutant, args.build)
        tally[outcome] = tally.get(outcome, 0) + 1
        print(f"{outcome:9} {time.monotonic() - started:6.0f} s  {mutant.describe()}", flush=True)
    run(["cmake", "--build", args.build])  # leave the build matching the tree

    summary = ", ".join(f"{count} {outcome}" for outcome, count in sorted(tally.items()))
    print(f"{len(mutants)} mutants: {summary}")
    return 0 if tally.get("killed", 0) == len(mutants) else 1


if __name__ == "__main__":
    sys.exit(main())
