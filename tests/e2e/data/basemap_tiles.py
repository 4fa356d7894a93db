#!/usr/bin/env python3
"""The basemap test's raster and its check, with GDAL's Python bindings.

basemap_tiles.py source OUT.tif X Y
    A web Mercator GeoTIFF of four coloured quarters meeting at the corner of the zoom-15 tile
    nearest the point X, Y of the national grid (EPSG:5514); prints that corner as GDAL
    transforms it into EPSG:5514 ("X Y").
basemap_tiles.py svg MAP.svg POINTS.dbf X Y
    Finds the background image of the map's SVG and where the study lies in it (from the
    points' circles and the table's coordinates), and prints the four quarters' colours around
    the study point X, Y, north-west, north-east, south-west, south-east ("r,g,b" each)."""
import base64
import re
import struct
import sys
import xml.etree.ElementTree as ET

from osgeo import gdal, osr

HALF = 20037508.342789244
QUARTERS = [(200, 40, 40), (40, 40, 200), (40, 160, 40), (220, 200, 40)]  # NW, NE, SW, SE


def transform(x, y, src, dst):
    a, b = osr.SpatialReference(), osr.SpatialReference()
    a.ImportFromEPSG(src)
    b.ImportFromEPSG(dst)
    for s in (a, b):
        s.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    return osr.CoordinateTransformation(a, b).TransformPoint(x, y)[:2]


def source(out, x, y):
    mx, my = transform(x, y, 5514, 3857)
    tile = 2 * HALF / 2 ** 15
    cx = round((mx + HALF) / tile) * tile - HALF
    cy = HALF - round((HALF - my) / tile) * tile
    side, cell = 2000, 4.0
    n = int(2 * side / cell)
    d = gdal.GetDriverByName("GTiff").Create(out, n, n, 3, gdal.GDT_Byte)
    d.SetGeoTransform([cx - side, cell, 0, cy + side, 0, -cell])
    s = osr.SpatialReference()
    s.ImportFromEPSG(3857)
    d.SetProjection(s.ExportToWkt())
    half = n // 2
    for b in range(3):
        row_n = bytes([QUARTERS[0][b]]) * half + bytes([QUARTERS[1][b]]) * half
        row_s = bytes([QUARTERS[2][b]]) * half + bytes([QUARTERS[3][b]]) * half
        d.GetRasterBand(b + 1).WriteRaster(0, 0, n, half, row_n * half)
        d.GetRasterBand(b + 1).WriteRaster(0, half, n, n - half, row_s * (n - half))
    d = None
    kx, ky = transform(cx, cy, 3857, 5514)
    print("%.3f %.3f" % (kx, ky))


def matrix(text):
    m = re.match(r"matrix\(([^)]*)\)", text or "")
    if not m:
        return (1, 0, 0, 1, 0, 0)
    return tuple(float(v) for v in re.split(r"[ ,]+", m.group(1).strip()))


def compose(p, q):  # p applied after q
    a, b, c, d, e, f = p
    g, h, i, j, k, l = q
    return (a * g + c * h, b * g + d * h, a * i + c * j, b * i + d * j, a * k + c * l + e, b * k + d * l + f)


def apply(m, x, y):
    return m[0] * x + m[2] * y + m[4], m[1] * x + m[3] * y + m[5]


def walk(node, m, circles, images):
    m = compose(m, matrix(node.get("transform")))
    tag = node.tag.split("}")[-1]
    if tag == "circle":
        circles.append(apply(m, float(node.get("cx")), float(node.get("cy"))))
    elif tag == "image":
        x, y = float(node.get("x", 0)), float(node.get("y", 0))
        w, h = float(node.get("width")), float(node.get("height"))
        href = node.get("{http://www.w3.org/1999/xlink}href") or node.get("href")
        images.append((apply(m, x, y), apply(m, x + w, y + h), href))
    for child in node:
        walk(child, m, circles, images)


def table_extent(path):
    data = open(path, "rb").read()
    count, header, length = struct.unpack("<IHH", data[4:12])
    fields, at, off = [], 32, 1
    while data[at] != 0x0D:
        name = data[at:at + 11].split(b"\0")[0].decode()
        fields.append((name, off, data[at + 16]))
        off += data[at + 16]
        at += 32
    pos = {n: (o, l) for n, o, l in fields}
    xs, ys = [], []
    for r in range(count):
        rec = data[header + r * length: header + (r + 1) * length]
        for key, out in (("X_COORD", xs), ("Y_COORD", ys)):
            o, l = pos[key]
            out.append(float(rec[o:o + l]))
    return min(xs), min(ys), max(xs), max(ys)


def svg(path, table, x, y):
    circles, images = [], []
    walk(ET.parse(path).getroot(), (1, 0, 0, 1, 0, 0), circles, images)
    if len(images) != 1:
        sys.exit("expected one image (the background), found %d" % len(images))
    xmin, ymin, xmax, ymax = table_extent(table)
    sx = [c[0] for c in circles]
    sy = [c[1] for c in circles]
    scale = (max(sx) - min(sx)) / (xmax - xmin)
    px, py = min(sx) + (x - xmin) * scale, min(sy) + (ymax - y) * scale
    (ix0, iy0), (ix1, iy1), href = images[0]
    png = base64.b64decode(href.split(",", 1)[1])
    gdal.FileFromMemBuffer("/vsimem/podklad.png", png)
    d = gdal.Open("/vsimem/podklad.png")
    cols, rows = d.RasterXSize, d.RasterYSize
    col, row = (px - ix0) / (ix1 - ix0) * cols, (py - iy0) / (iy1 - iy0) * rows
    out = []
    for dc, dr in ((-4, -4), (4, -4), (-4, 4), (4, 4)):
        c, r = int(col + dc), int(row + dr)
        out.append(",".join(str(d.GetRasterBand(b).ReadRaster(c, r, 1, 1)[0]) for b in (1, 2, 3)))
    print(" ".join(out))


if __name__ == "__main__":
    if sys.argv[1] == "source":
        source(sys.argv[2], float(sys.argv[3]), float(sys.argv[4]))
    else:
        svg(sys.argv[2], sys.argv[3], float(sys.argv[4]), float(sys.argv[5]))
