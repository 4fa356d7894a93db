#!/usr/bin/env python3
"""Writes a small result table in the concentration tools' dBASE layout for the
end-to-end runs: make_result_table.py OUT SIDE [--delete N] [--lower] [--fields N].
Points lie on a SIDE x SIDE grid of 100 m in the national grid (negative coordinates)
and carry a smooth hill of values; --delete marks record N (from 1) as deleted."""
import argparse
import math
import struct

p = argparse.ArgumentParser()
p.add_argument("out")
p.add_argument("side", type=int)
p.add_argument("--delete", type=int, default=0)
p.add_argument("--lower", action="store_true")
p.add_argument("--fields", type=int, default=6)
a = p.parse_args()

names = ["ID_POINT", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "CONC_VALUE"]
names += ["V%d" % (i + 1) for i in range(len(names), a.fields)]
if a.lower:
    names[1], names[2] = "x_coord", "y_coord"
fields = [(n, 10 if i == 0 else 15, 0 if i == 0 else 6) for i, n in enumerate(names[: a.fields])]
rows = []
c = (a.side - 1) / 2
for j in range(a.side):
    for i in range(a.side):
        v = 10 * math.exp(-((i - c) ** 2 + (j - c) ** 2) / 8)
        vals = [j * a.side + i + 1, -745000.0 + 100 * i, -1043000.0 + 100 * j, 300.0, 1.5]
        vals += [v] * (len(fields) - 5)
        rows.append(vals)
out = bytearray([3, 126, 1, 2]) + struct.pack("<IHH", len(rows), 33 + 32 * len(fields), 1 + sum(f[1] for f in fields))
out += bytes(20)
for name, length, dec in fields:
    out += name.encode().ljust(11, b"\0") + b"N" + bytes(4) + bytes([length, dec]) + bytes(14)
out += b"\r"
for k, vals in enumerate(rows, 1):
    out += b"*" if k == a.delete else b" "
    for (name, length, dec), v in zip(fields, vals):
        out += ("%*.*f" % (length, dec, v)).encode()
out += b"\x1a"
open(a.out, "wb").write(out)
