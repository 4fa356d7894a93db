#!/usr/bin/env python3
"""protocols_close.py A B: exit 0 when the two protocol files are the same but for the
CROC values of their point lines, which may differ in their last bits (at most 4 units in the
last place of a double); prints how many differ and by how much. Exit 1 otherwise, naming the
first line that differs."""
import math
import re
import sys

CROC = re.compile(rb"CROC : (-?[0-9]+\.[0-9]+)")


def ulps(a, b):
    return abs(a - b) / math.ulp(max(abs(a), abs(b)) or 1e-300)


def main(a_path, b_path):
    a_lines = open(a_path, "rb").read().split(b"\n")
    b_lines = open(b_path, "rb").read().split(b"\n")
    if len(a_lines) != len(b_lines):
        print(f"{b_path}: {len(b_lines)} lines instead of {len(a_lines)}")
        return 1
    differing, worst = 0, 0.0
    for n, (x, y) in enumerate(zip(a_lines, b_lines), 1):
        if x == y:
            continue
        xs, ys = CROC.split(x), CROC.split(y)
        # split keeps the numbers at the odd places; the rest must be equal
        if len(xs) != len(ys) or xs[0::2] != ys[0::2]:
            print(f"{b_path}: line {n} differs: {y[:120]!r}")
            return 1
        for u, v in zip(xs[1::2], ys[1::2]):
            d = ulps(float(u), float(v))
            if d > 4:
                print(f"{b_path}: line {n}: CROC {v.decode()} instead of {u.decode()} ({d:.0f} ulp)")
                return 1
            if d:
                differing += 1
                worst = max(worst, d)
    if differing:
        print(f"{b_path}: {differing} CROC value(s) differ in their last bits (at most {worst:.0f} ulp)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
