#!/usr/bin/env python3
"""Counts test cases of one or more ctest runs: GoogleTest programs by their cases (from
their XML reports), any other ctest test as one case. Prints one line per tree and the
closing 'N passed, N failed' line. A tree given as 'DIR=not run: why' was not tested and is
reported as such, never as passed."""
import os
import sys
import xml.etree.ElementTree as ET


def count_tree(build_dir):
    passed = failed = 0
    failures = []
    junit = os.path.join(build_dir, "ctest-junit.xml")
    if not os.path.exists(junit):
        return None
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        ctest_ok = case.get("status") in ("run", "passed") and case.find("failure") is None
        report = os.path.join(build_dir, "gtest-results", name + ".xml")
        if os.path.exists(report):
            try:
                root = ET.parse(report).getroot()
                total = int(root.get("tests", 0)) - int(root.get("disabled", 0))
                bad = int(root.get("failures", 0)) + int(root.get("errors", 0))
                skipped = sum(1 for c in root.iter("testcase") if c.find("skipped") is not None)
                passed += total - bad - skipped
                failed += bad
                for c in root.iter("testcase"):
                    if c.find("failure") is not None:
                        failures.append(f"{name}: {c.get('classname')}.{c.get('name')}")
                if bad == 0 and not ctest_ok:
                    failed += 1
                    failures.append(f"{name}: the program failed after its cases")
                continue
            except ET.ParseError:
                pass
        if ctest_ok:
            passed += 1
        else:
            failed += 1
            failures.append(f"{name}: failed without a case report")
    return passed, failed, failures


def main():
    total_p = total_f = 0
    extra_failed = int(os.environ.get("KV_EXTRA_FAILURES", "0"))
    for arg in sys.argv[1:]:
        build_dir, _, not_run = arg.partition("=")
        label = os.path.basename(build_dir.rstrip("/"))
        if not_run:
            print(f"{label}: {not_run}")
            continue
        result = count_tree(build_dir)
        if result is None:
            # Tests that should have run and left nothing are a failure, not a pass.
            print(f"{label}: no test results")
            total_f += 1
            continue
        p, f, failures = result
        print(f"{label}: {p} passed, {f} failed")
        for line in failures:
            print(f"  FAILED {line}")
        total_p += p
        total_f += f
    total_f += extra_failed
    print(f"{total_p} passed, {total_f} failed")
    return 0 if total_f == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
