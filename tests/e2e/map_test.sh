#!/usr/bin/env bash
# The result map drawn by ovardix-cli on the bundled example study without a screen: a PNG of
# the asked width, an SVG with one mark per point, a PDF; the project's "Mapa" keys; refusals
# that leave the previous picture as it was.
. "$(dirname "$0")/lib.sh"

# The runner chooses the offscreen platform itself.
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
cd "$WORK"
example_study
set_keys $P "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KoncDobyPrek1 1" "VypocetRocni KoncDobyPrek2 4" \
  "VypocetRocni KrokVypoctu 2"
run_cli 0 run $P

png_size() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); assert d[:8]==b"\x89PNG\r\n\x1a\n"; print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"; }

# The annual table of the project by default, at the asked width (the study is square).
run_cli 0 --yes map $P --out rocni.png --width 800
expect_eq "png size" "800x800" "$(png_size rocni.png 2>&1)"
case "$ERR" in *"Mapa zapsána do souboru rocni.png"*) ;; *) fail "final status: $ERR" ;; esac

# SVG: well-formed XML, one circle per result point.
run_cli 0 --yes map $P --table rocni.dbf --column CM_MAX --levels "1;5;10" --out rocni.svg
count=$(python3 -c 'import sys, xml.etree.ElementTree as E; print(sum(1 for e in E.parse(sys.argv[1]).iter() if e.tag.endswith("circle")))' rocni.svg 2>&1)
expect_eq "svg points" "1681" "$count"
grep -q "CM_MAX \[µg/m³\]" rocni.svg || fail "svg legend heading"
grep -q "EPSG:5514" rocni.svg || fail "svg coordinate system"
# Levels typed with a decimal comma are the decimals they mean: classes < 0.5, 0.5 - 1, >= 1.
run_cli 0 --yes map $P --table rocni.dbf --column CM_MAX --levels "0,5;1" --out levels.svg
grep -q "0.5 – 1" levels.svg || fail "levels with a decimal comma: $(grep -o '[<≥]* *[0-9.]* – [0-9.]*' levels.svg | head -3)"
grep -q "1 – 5" levels.svg && fail "a decimal comma split into two levels"
rm -f levels.svg

# PDF with the limit values as classes: one page that pdfinfo reads.
run_cli 0 --yes map $P --levels limity --out rocni.pdf --width 1000
info=$(pdfinfo rocni.pdf 2>&1) || fail "pdfinfo: $info"
echo "$info" | grep -Eq '^Pages: +1$' || fail "pdf pages: $info"

# Pages: a PDF of an A4 page on its side, a PNG of an A3 page at the asked resolution.
run_cli 0 --yes map $P --out a4.pdf --page A4 --landscape
info=$(pdfinfo a4.pdf 2>&1) || fail "pdfinfo: $info"
echo "$info" | grep -Eq '^Page size: +842 x 595 pts \(A4\)' || fail "a4 landscape: $info"
run_cli 0 --yes map $P --out a3.png --page A3 --dpi 72
expect_eq "a3 png size" "842x1191" "$(png_size a3.png 2>&1)"
rm -f a4.pdf a3.png

# The project's keys choose the table and column; a column the table lacks writes nothing.
run_cli 0 set $P Mapa Sloupec CONC_AVG
run_cli 0 set $P Mapa Urovne "0.5;1;2"
cp rocni.png before.png
run_cli 0 set $P Mapa Sloupec NENI
run_cli 1 --yes map $P --out rocni.png
case "$ERR" in *"neobsahuje sloupec NENI"*) ;; *) fail "unknown column: $ERR" ;; esac
cmp -s rocni.png before.png || fail "a failed map changed the previous picture"
run_cli 0 set $P Mapa Sloupec CONC_AVG

# Usage errors and refusals: none leaves a file behind.
files=$(ls -A)
run_cli 2 map $P --out x.png --width 5
run_cli 2 map $P --levels "1;x" --out x.png
run_cli 2 map $P --column CONC_AVG
run_cli 2 map $P --out mapa.jpg
run_cli 2 map $P --out x.png --page A4 --width 800
run_cli 2 map $P --out x.png --page A5
run_cli 2 map $P --out x.png --dpi 71
run_cli 2 map $P --out x.png --dpi 1201
run_cli 2 map $P --out x.png --landscape
run_cli 2 --yes map $P --out rocni.dbf
run_cli 3 --no map $P --out rocni.png
cmp -s rocni.png before.png || fail "declined overwrite changed the picture"
run_cli 0 set $P Mapa Urovne limity
run_cli 0 set $P VypocetRocni KoncDobyPrek1 0
run_cli 0 set $P VypocetRocni KoncDobyPrek2 0
run_cli 1 --yes map $P --out nic.png
case "$ERR" in *"nejsou zadány žádné limitní koncentrace"*) ;; *) fail "no limits: $ERR" ;; esac
expect_eq "files after the refusals" "$files" "$(ls -A)"
finish
