#!/usr/bin/env python3
"""Prints how many C and C++ lines are tests against the rest: non-blank lines that are not
only comment, of the .cpp/.h/.hpp/.cc/.c files git tracks (plus untracked ones it does not
ignore). A file is a test when a folder of its path is tests/ or fuzz/, or its name holds
'_test.' or 'test_'; build/ and dist/ are left out. With -v, one line per file."""
import os
import re
import subprocess
import sys

ENDINGS = (".cpp", ".h", ".hpp", ".cc", ".c")


def files(root):
    out = subprocess.run(["git", "-C", root, "ls-files", "--cached", "--others",
                          "--exclude-standard"], capture_output=True, text=True, check=True)
    for path in sorted(set(out.stdout.splitlines())):
        parts = path.split("/")
        if parts[0] in ("build", "dist") or not path.endswith(ENDINGS):
            continue
        if os.path.isfile(os.path.join(root, path)):
            yield path


def is_test(path):
    parts = path.split("/")
    name = parts[-1]
    return any(p in ("tests", "fuzz") for p in parts[:-1]) or "_test." in name or "test_" in name


STRING = re.compile(r'"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'')


def code_lines(text):
    """Lines with something besides white space and comments."""
    count = 0
    in_block = False
    for line in text.splitlines():
        rest = STRING.sub('""', line)
        kept = ""
        i = 0
        while i < len(rest):
            if in_block:
                end = rest.find("*/", i)
                if end < 0:
                    i = len(rest)
                else:
                    in_block = False
                    i = end + 2
            elif rest.startswith("/*", i):
                in_block = True
                i += 2
            elif rest.startswith("//", i):
                break
            else:
                kept += rest[i]
                i += 1
        if kept.strip():
            count += 1
    return count


def main():
    verbose = "-v" in sys.argv[1:]
    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True,
                          text=True, check=True).stdout.strip()
    test = code = 0
    for path in files(root):
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            n = code_lines(f.read())
        if is_test(path):
            test += n
        else:
            code += n
        if verbose:
            print(f"{n:6} {'test' if is_test(path) else 'code'} {path}")
    print(f"tests {test:,} lines, code {code:,} lines: {test / code:.3f}" if code else "no code")


if __name__ == "__main__":
    main()
