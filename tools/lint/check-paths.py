#!/usr/bin/env python3
"""Fails when a file of the checkout refers to a path outside it.

A fresh clone must build and test on its own: no source, script or build file may read a sibling
folder of the checkout or an absolute folder of one machine (the patterns below). Paths the
programs create at run time under /tmp are fine.
"""
import argparse
import os
import re
import sys

PATTERNS = [
    (re.compile(r"\.\./+shared\b"), "a folder beside the checkout"),
    (re.compile(r"(?<![\w.~-])/(?:work|root|home)/"), "an absolute folder of one machine"),
]
SKIP_DIRS = {".git", "build", "fixtures", "__pycache__"}
SKIP_SUFFIXES = (".png", ".bmp", ".ico", ".cur", ".ani", ".gif", ".zip", ".exe", ".dll", ".bin")


def files(root):
    for folder, dirs, names in os.walk(root):
        dirs[:] = [d for d in dirs if d not in SKIP_DIRS and not d.startswith("build")]
        for name in names:
            # A worktree's ".git" is a file that points at its repository: git's, not the project's.
            if name != ".git" and not name.endswith(SKIP_SUFFIXES):
                yield os.path.join(folder, name)


def scan(root, this_file):
    found = []
    for path in files(root):
        if os.path.abspath(path) == this_file:
            continue
        try:
            with open(path, encoding="utf-8") as f:
                lines = f.readlines()
        except (UnicodeDecodeError, OSError):
            continue
        for number, line in enumerate(lines, 1):
            for pattern, what in PATTERNS:
                if pattern.search(line):
                    found.append(f"{os.path.relpath(path, root)}:{number}: {what}: {line.strip()}")
    return found


def self_test():
    # Built from pieces, so that this file does not hold the paths it looks for.
    sibling, machine = "/.." + "/shared", "/" + "work"
    bad = [f'x = root + "{sibling}/fixtures"', f'open("{machine}/main/a")', "cd /root/x", "ls /home/u/"]
    good = ['x = root + "/testing/fixtures"', "a/work/b", "~/work/", "/tmp/work/x", "build/win64"]
    ok = all(any(p.search(s) for p, _ in PATTERNS) for s in bad)
    ok = ok and not any(p.search(s) for s in good for p, _ in PATTERNS)
    print("self-test", "passed" if ok else "failed")
    return 0 if ok else 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root")
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        return self_test()
    found = scan(args.root, os.path.abspath(__file__))
    for line in found:
        print(line)
    print(f"{len(found)} reference(s) to paths outside the checkout")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
