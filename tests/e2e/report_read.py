#!/usr/bin/env python3
"""Reads a study report back for the end-to-end test: the text of an ODT (python3-odf) or the
tables of it as rows of cells, one table per line block.

  report_read.py text FILE.odt      every paragraph and heading, one a line
  report_read.py tables FILE.odt    each table as lines of cells joined by TAB, tables
                                    separated by an empty line
  report_read.py dbfmax FILE.dbf COLUMN   the first field's text and the value of the
                                    record with the highest COLUMN (the first of equal ones)
  report_read.py dbfrows FILE.dbf   number of live records
"""
import sys


def odt_text(path):
    from odf import opendocument, teletype
    from odf.namespaces import TEXTNS
    doc = opendocument.load(path)
    out = []

    def walk(node):
        for child in node.childNodes:
            if child.nodeType != child.ELEMENT_NODE:
                continue
            if child.qname in ((TEXTNS, 'p'), (TEXTNS, 'h')):
                out.append(teletype.extractText(child))
            else:
                walk(child)

    walk(doc.body)
    return out


def odt_tables(path):
    from odf import opendocument, table, teletype
    doc = opendocument.load(path)
    tables = []
    for t in doc.getElementsByType(table.Table):
        rows = []
        for r in t.getElementsByType(table.TableRow):
            rows.append([teletype.extractText(c).strip() for c in r.getElementsByType(table.TableCell)])
        tables.append(rows)
    return tables


def dbf(path):
    data = open(path, 'rb').read()
    count = int.from_bytes(data[4:8], 'little')
    header = int.from_bytes(data[8:10], 'little')
    length = int.from_bytes(data[10:12], 'little')
    fields, pos = [], 32
    while data[pos] != 0x0D:
        name = data[pos:pos + 11].split(b'\0')[0].decode().strip()
        fields.append((name, data[pos + 16]))
        pos += 32
    records = []
    for i in range(count):
        rec = data[header + i * length: header + (i + 1) * length]
        if rec[:1] != b' ':
            continue
        at, values = 1, {}
        for name, width in fields:
            values[name] = rec[at:at + width].decode().strip()
            at += width
        records.append(values)
    return fields, records


def main():
    what, path = sys.argv[1], sys.argv[2]
    if what == 'text':
        print('\n'.join(odt_text(path)))
    elif what == 'tables':
        for t in odt_tables(path):
            for row in t:
                print('\t'.join(row))
            print()
    elif what == 'dbfmax':
        fields, records = dbf(path)
        column = sys.argv[3]
        best = max(records, key=lambda r: float(r[column]))
        print(best[fields[0][0]], best[column])
    elif what == 'dbfrows':
        print(len(dbf(path)[1]))


main()
