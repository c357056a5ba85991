#!/usr/bin/env python3
"""Compares two tesselwright JSON reports: equal structure and texts, numbers equal to within the last
bits of a 32-bit real. The output file names and the platform are expected to differ and are skipped."""
import json
import math
import sys

SKIPPED = {"outputs", "platform", "plugin"}


def close(a, b):
    return math.isclose(a, b, rel_tol=2e-5, abs_tol=2e-4)


def compare(a, b, path, problems):
    if isinstance(a, dict) and isinstance(b, dict):
        for key in sorted(set(a) | set(b)):
            if key in SKIPPED:
                continue
            if key not in a or key not in b:
                problems.append(f"{path}/{key}: only in {'first' if key in a else 'second'} report")
                continue
            compare(a[key], b[key], f"{path}/{key}", problems)
    elif isinstance(a, list) and isinstance(b, list):
        if len(a) != len(b):
            problems.append(f"{path}: {len(a)} items against {len(b)}")
        for i, (x, y) in enumerate(zip(a, b)):
            compare(x, y, f"{path}[{i}]", problems)
    elif isinstance(a, bool) or isinstance(b, bool):
        if a != b:
            problems.append(f"{path}: {a!r} against {b!r}")
    elif isinstance(a, (int, float)) and isinstance(b, (int, float)):
        if not close(float(a), float(b)):
            problems.append(f"{path}: {a!r} against {b!r}")
    elif a != b:
        problems.append(f"{path}: {a!r} against {b!r}")


def main():
    with open(sys.argv[1]) as f:
        first = json.load(f)
    with open(sys.argv[2]) as f:
        second = json.load(f)
    problems = []
    compare(first, second, "", problems)
    if problems:
        print(f"the reports differ in {len(problems)} places:", file=sys.stderr)
        for p in problems[:40]:
            print("  " + p, file=sys.stderr)
        sys.exit(1)


if __name__ == "__main__":
    main()
