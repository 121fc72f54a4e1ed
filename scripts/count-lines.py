#!/usr/bin/env python3
"""Prints the non-blank, non-comment lines of C++ in the production code (every top folder
but tests/, bench/ and fuzz/) and in tests/, and the tests' share of the production code.
Counts the files git knows, as they are in the work tree."""
import pathlib
import re
import subprocess

ROOT = pathlib.Path(__file__).resolve().parent.parent


def code_lines(path):
    text = re.sub(r"/\*.*?\*/", "", path.read_text(errors="replace"), flags=re.S)
    return sum(1 for line in text.splitlines()
               if line.strip() and not line.strip().startswith("//"))


files = subprocess.run(["git", "ls-files", "*.cpp", "*.cc", "*.h", "*.hpp"], cwd=ROOT,
                       capture_output=True, text=True, check=True).stdout.split()
production = tests = 0
for name in files:
    path = ROOT / name
    if not path.exists():
        continue
    top = name.split("/")[0]
    if top == "tests":
        tests += code_lines(path)
    elif top not in ("bench", "fuzz"):
        production += code_lines(path)
print(f"production {production}, tests {tests}: {100 * tests / production:.0f} %")
