#!/usr/bin/env bash
# Damaged, special and non-finite inputs of gis-export, map, terrain, check-terrain, heights
# and coords-table: no crash, no hang, nothing cut short or non-finite passed on as success.
. "$(dirname "$0")/lib.sh"

unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
cd "$WORK"
P=study.ovd
$MAKE rocni.dbf 6 >/dev/null
set_keys $P "DbfExport VstDbf rocni.dbf" "Global SouradnicovySystem EPSG:5514" "Global VstZdrojBodBin zdroje.bin"

# A damaged sources file (empty, or the points file named as it) stops the GeoPackage export
# with the reader's message and exit 1; the earlier export stays.
run_cli 0 --yes gis-export $P --format gpkg
cp rocni.gpkg good.gpkg
for damage in empty points; do
  case $damage in empty) : >zdroje.bin ;; points) head -c 333 /dev/urandom >zdroje.bin ;; esac
  run_cli 1 --yes gis-export $P --format gpkg
  case "$ERR" in *"se zdroji"*) ;; *) fail "damaged sources ($damage): $ERR" ;; esac
  cmp -s rocni.gpkg good.gpkg || fail "damaged sources ($damage): the earlier export was replaced"
done
rm -f zdroje.bin

# A FIFO as any input, or named by a VRT, is refused at once (timeout: a hang fails).
mkfifo fifo
printf '<VRTDataset rasterXSize="3" rasterYSize="2">\n <GeoTransform>0, 10, 0, 20, 0, -10</GeoTransform>\n <VRTRasterBand dataType="Float64" band="1">\n  <SimpleSource><SourceFilename relativeToVRT="1">fifo</SourceFilename><SourceBand>1</SourceBand></SimpleSource>\n </VRTRasterBand>\n</VRTDataset>\n' >fifo.vrt
cp $P f.ovd
in_time() { timeout 20 "$CLI" "$@" >"$WORK/out" 2>"$WORK/err" </dev/null; RC=$?; ERR=$(cat "$WORK/err"); [ $RC != 124 ] || fail "ovardix-cli $* hangs"; }
set_keys f.ovd "Global VstVyskoBin fifo" "Global VstThetaBin fifo" "Global VstVyskoTxt fifo.vrt" \
  "PrevodTxtSouradnic VstTxtPrevod fifo" "PrevodTxtSouradnic VystBinPrevod tab.bin" "Mapa VstRastr fifo"
in_time --yes coefficients f.ovd; expect_eq "coefficients on a FIFO" 1 $RC
in_time --yes concentrations f.ovd; expect_eq "concentrations on a FIFO" 1 $RC
in_time matrix-show fifo; expect_eq "matrix-show on a FIFO" 1 $RC
in_time --yes coords-table f.ovd; expect_eq "coords-table on a FIFO" 1 $RC
cp $P v.ovd
set_keys v.ovd "Global VstVyskoTxt fifo.vrt" "Global VstVyskoBin v.bin"
in_time --yes terrain v.ovd; expect_eq "terrain through a VRT naming a FIFO" 1 $RC
case "$ERR" in *"soubor fifo není obyčejný soubor"*) ;; *) fail "VRT naming a FIFO: $ERR" ;; esac
in_time --yes map f.ovd --table rocni.dbf --out m.png; expect_eq "map with a FIFO as background" 0 $RC
case "$ERR" in *"Podklad: Soubor fifo nelze použít jako podklad mapy: soubor fifo není obyčejný soubor."*) ;; *) fail "map background FIFO: $ERR" ;; esac
run_cli 0 set f.ovd Mapa VstRastr fifo.vrt
in_time --yes map f.ovd --table rocni.dbf --out m.png; expect_eq "map with a VRT naming a FIFO" 0 $RC
# A device as the conversion table converts nothing and says so.
run_cli 0 set f.ovd PrevodTxtSouradnic VstTxtPrevod /dev/zero
in_time --yes coords-table f.ovd; expect_eq "coords-table on /dev/zero" 1 $RC

# A raster whose header claims a huge size is refused before anything is read.
printf 'ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\nNODATA_value -9999\n0 2 3\n4 -9999 6\n' >g.asc
gdal_translate -q -of GTiff g.asc g.tif
sed 's/fifo/g.tif/; s/rasterXSize="3"/rasterXSize="2147483647"/' fifo.vrt >big.vrt
cp $P t.ovd
run_cli 0 set t.ovd Global SouradnicovySystem ""
set_keys t.ovd "Global VstVyskoTxt big.vrt" "Global VstVyskoBin t.bin" "PrevodVyskopisu TypZapisu 2"
in_time --yes terrain t.ovd; expect_eq "terrain of a huge VRT" 1 $RC
case "$ERR" in *"má 2147483647 x 2 buněk, matice výškopisu jich pojme nejvýše"*) ;; *) fail "huge VRT: $ERR" ;; esac
[ ! -e t.bin ] || fail "a refused raster left a matrix"
# NaN no-data becomes the matrix's own; a real height of 0 m stays a height.
gdal_translate -q -ot Float32 -a_nodata nan g.asc gn.tif
run_cli 0 set t.ovd Global VstVyskoTxt gn.tif
run_cli 0 --yes terrain t.ovd
expect_eq "no-data of a NaN raster" "-9999" "$(od -An -t f8 -j 34 -N 8 t.bin | xargs)"
expect_eq "the first height" "0" "$(od -An -t f8 -j 42 -N 8 t.bin | xargs)"
# A NaN origin or an infinite cell is refused.
gdal_translate -q -a_ullr 0 nan 30 0 g.asc gp.tif 2>/dev/null || sed 's/0, 10, 0, 20, 0, -10/nan, 10, 0, 20, 0, -inf/; s/fifo/g.tif/' fifo.vrt >gp.tif
run_cli 0 set t.ovd Global VstVyskoTxt gp.tif
run_cli 1 --yes terrain t.ovd
case "$ERR" in *"není konečné číslo"*) ;; *) fail "NaN position: $ERR" ;; esac
# check-terrain takes what the conversion takes.
run_cli 0 set t.ovd Global VstVyskoTxt g.tif
run_cli 0 check-terrain t.ovd
expect_eq "check of a GeoTIFF" "Načteno 2 řádků s 3 sloupci, matice vyhovuje." "$OUT"
# A raster in a system the study does not have is refused naming both.
gdal_translate -q -a_srs EPSG:32633 -a_ullr 500000 5500000 500030 5499980 g.asc utm.tif
run_cli 0 set t.ovd Global VstVyskoTxt utm.tif
run_cli 1 --yes terrain t.ovd
case "$ERR" in *"utm.tif"*"EPSG:32633"*"studie však souřadnicový systém nemá"*) ;; *) fail "raster in another system: $ERR" ;; esac
# A height fill with every point outside the terrain runs to its end and exits 1.
run_cli 0 set t.ovd Global VstVyskoTxt g.asc
run_cli 0 --yes terrain t.ovd
printf ';SOUBOR S BODY\n1,5000,5000,0,1.5;\n2,6000,6000,0,1.5;\n' >body.txt
set_keys t.ovd "DopocetVysky VstSouradniceTxt body.txt" "DopocetVysky VystSouborTxt vyska.txt"
run_cli 1 --yes heights t.ovd
case "$ERR" in *"výška nebyla doplněna žádnému bodu"*) ;; *) fail "heights all outside: $ERR" ;; esac

# Cut tables and fields that read nan: gis-export refuses with the viewer's warning, the map
# draws what there is with the warning, and refuses a table of no whole record.
python3 - <<'PY'
b = open("rocni.dbf", "rb").read()
header = b[8] | b[9] << 8; record = b[10] | b[11] << 8
open("cut.dbf", "wb").write(b[:header + 5 * record + 7])
long = bytearray(b); long[10:12] = (65535).to_bytes(2, "little")
open("long.dbf", "wb").write(bytes(long) + b"\x1a")
at = b.find(b"-745000.000000"); nan = bytearray(b)
conc = header + 2 * record + 1 + 10 + 15 * 4
nan[conc:conc + 15] = b"            nan"
open("nan.dbf", "wb").write(bytes(nan))
PY
run_cli 0 set $P DbfExport VstDbf cut.dbf
run_cli 1 --yes gis-export $P --format csv
expect_eq "cut table in gis-export" "Chyba: DBF soubor cut.dbf je zkrácený: hlavička uvádí 36 záznamů, celých je v něm jen 5." "$ERR"
[ ! -e cut.csv ] || fail "a cut table was exported"
run_cli 0 --yes map $P --table cut.dbf --out cut.png
case "$ERR" in *"DBF soubor cut.dbf je zkrácený"*) ;; *) fail "cut table in the map: $ERR" ;; esac
run_cli 1 --yes map $P --table long.dbf --out long.png
case "$ERR" in *"long.dbf je zkrácený"*"jen 0."*) ;; *) fail "record length 65535 in the map: $ERR" ;; esac
run_cli 0 set $P DbfExport VstDbf nan.dbf
run_cli 1 --yes gis-export $P --format geojson
case "$ERR" in *"Záznam 3 DBF souboru nan.dbf má v poli CONC_VALUE hodnotu \"nan\""*) ;; *) fail "nan field: $ERR" ;; esac
run_cli 1 --yes map $P --table nan.dbf --out nan.png
case "$ERR" in *"Záznam 3 DBF souboru nan.dbf"*) ;; *) fail "nan field in the map: $ERR" ;; esac
# The older exports refuse it too, and write nothing.
for target in 1 2; do
  run_cli 0 set $P DbfExport ZapisGis $target
  if [ $target = 2 ]; then run_cli 1 --yes dbf-export $P --columns 1,5; else run_cli 1 --yes dbf-export $P; fi
  case "$ERR" in *"Záznam 3 DBF souboru nan.dbf má v poli CONC_VALUE hodnotu \"nan\""*) ;; *) fail "nan field in dbf-export $target: $ERR" ;; esac
done
[ ! -e nan.mid ] && [ ! -e nan.txt ] || fail "a table with nan was exported: $(ls nan.*)"
run_cli 0 set $P DbfExport ZapisGis 0

# The isobands of a GeoPackage name themselves when the points are no lattice.
$MAKE one.dbf 1 >/dev/null
run_cli 0 set $P DbfExport VstDbf one.dbf
run_cli 1 --yes gis-export $P --format gpkg --column CONC_VALUE --levels "1;2"
case "$ERR" in *"Izopásma potřebují nejméně dva body"*) ;; *) fail "isobands of one point: $ERR" ;; esac
finish
