#!/usr/bin/env python3
"""Reads and writes the numeric dBASE tables of the result files for the end-to-end runs.
As a module: read(path) -> (fields, rows) with fields as (name, length, decimals, flag) and
rows as lists of field texts; write(path, fields, rows) with rows of numbers."""
import struct


def read(path):
    b = open(path, "rb").read()
    count, header, _ = struct.unpack("<IHH", b[4:12])
    fields, at = [], 32
    while b[at] != 0x0D:
        d = b[at:at + 32]
        fields.append((d[:11].split(b"\0")[0].decode(), d[16], d[17], d[20]))
        at += 32
    rows, at = [], header
    for _ in range(count):
        at += 1
        row = []
        for _, length, _, _ in fields:
            row.append(b[at:at + length].decode())
            at += length
        rows.append(row)
    return fields, rows


def write(path, fields, rows, date=(126, 12, 9)):
    out = bytearray([3, *date]) + struct.pack("<IHH", len(rows), 33 + 32 * len(fields), 1 + sum(f[1] for f in fields))
    out += bytes(20)
    for name, length, dec, flag in fields:
        out += name.encode().ljust(11, b"\0") + b"N" + bytes(4) + bytes([length, dec]) + bytes(2) + bytes([flag])
        out += bytes(11)
    out += b"\r"
    for vals in rows:
        out += b" "
        for (_, length, dec, _), v in zip(fields, vals):
            out += (v.rjust(length) if isinstance(v, str) else "%*.*f" % (length, dec, v)).encode()
    out += b"\x1a"
    open(path, "wb").write(out)
