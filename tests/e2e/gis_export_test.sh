#!/usr/bin/env bash
# The study's coordinate system and the GIS exports through ovardix-cli, every output opened
# by ogrinfo or gdalinfo; rasters as terrain.
. "$(dirname "$0")/lib.sh"

MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
P="$WORK/p.ovd"
cd "$WORK"
$MAKE rocni.dbf 5
run_cli 0 set "$P" DbfExport VstDbf rocni.dbf

# Without a system the exports that need one refuse and write nothing; CSV does not need one.
run_cli 1 --yes gis-export "$P" --format gpkg
case "$ERR" in *"potřebuje souřadnicový systém studie"*) ;; *) fail "no system: $ERR" ;; esac
[ ! -e rocni.gpkg ] || fail "a refused export wrote its file"
run_cli 0 --yes gis-export "$P" --format csv
expect_eq "csv header" "X,Y,ID_POINT,X_COORD,Y_COORD,Z_ELEV,L_ELEV,CONC_VALUE" "$(head -n 1 rocni.csv)"
expect_eq "csv rows" "26" "$(wc -l < rocni.csv)"

# An unknown system is refused by set and leaves the key as it was.
run_cli 1 set "$P" Global SouradnicovySystem EPSG:999999
case "$ERR" in *'"EPSG:999999" není známý'*) ;; *) fail "unknown system: $ERR" ;; esac
run_cli 1 get "$P" Global SouradnicovySystem
expect_eq "key still absent" "" "$OUT"
run_cli 0 set "$P" Global SouradnicovySystem EPSG:5514

run_cli 0 --yes gis-export "$P" --format gpkg --column CONC_VALUE --levels "4;6;8"
info=$(ogrinfo -so rocni.gpkg body)
case "$info" in *"Feature Count: 25"*) ;; *) fail "gpkg points: $info" ;; esac
case "$info" in *'ID["EPSG",5514]'*) ;; *) fail "gpkg system: $info" ;; esac
case "$info" in *"CONC_VALUE: Real"*) ;; *) fail "gpkg fields: $info" ;; esac
bands=$(ogrinfo -so rocni.gpkg izopasma)
case "$bands" in *"Feature Count: 4"*) ;; *) fail "isobands: $bands" ;; esac
# A decimal comma is the decimal it means: "6,5" is one level (two bands), not 6 and 5.
run_cli 0 --yes gis-export "$P" --format gpkg --column CONC_VALUE --levels "6,5"
bands=$(ogrinfo -so rocni.gpkg izopasma)
case "$bands" in *"Feature Count: 2"*) ;; *) fail "one level with a decimal comma: $bands" ;; esac
run_cli 0 --yes gis-export "$P" --format gpkg --column CONC_VALUE --levels "4;6,5;8"
bands=$(ogrinfo -so rocni.gpkg izopasma)
case "$bands" in *"Feature Count: 4"*) ;; *) fail "levels with a decimal comma: $bands" ;; esac
run_cli 2 gis-export "$P" --format gpkg --column CONC_VALUE --levels "4,5,6"
case "$ERR" in *'ne "4,5,6"'*) ;; *) fail "a list of commas is refused naming it: $ERR" ;; esac

# GeoJSON and KML in WGS 84: the first point (ID 1) where GDAL's own transformation puts it.
read -r lon lat _ <<<"$(echo "-745000 -1043000" | gdaltransform -s_srs EPSG:5514 -t_srs EPSG:4326)"
for f in geojson kml; do
  run_cli 0 --yes gis-export "$P" --format $f
  got=$(ogrinfo -q -ro -al rocni.$f | grep -m 1 -oE '^ *POINT( Z)? \([^)]*\)')
  python3 - "$got" "$lon" "$lat" <<'PY' || fail "$f: first point $got, GDAL gives $lon $lat"
import sys
x, y = map(float, sys.argv[1].split("(")[1].rstrip(")").split()[:2])
sys.exit(0 if abs(x - float(sys.argv[2])) < 1e-6 and abs(y - float(sys.argv[3])) < 1e-6 else 1)
PY
  case "$(ogrinfo -so -al rocni.$f)" in *"Feature Count: 25"*) ;; *) fail "$f count" ;; esac
done

# GeoTIFF of one column: the lattice, no-data, the system; then the refusals.
run_cli 0 --yes gis-export "$P" --format tif --column conc_value --out mapa.tif
tif=$(gdalinfo mapa.tif)
case "$tif" in *"Size is 5, 5"*) ;; *) fail "tif size: $tif" ;; esac
case "$tif" in *"NoData Value=-9999"*) ;; *) fail "tif nodata" ;; esac
case "$tif" in *'ID["EPSG",5514]'*) ;; *) fail "tif system" ;; esac
cp mapa.tif before.tif
run_cli 1 --yes gis-export "$P" --format tif --column NEXISTUJE --out mapa.tif
case "$ERR" in *"nemá sloupec NEXISTUJE"*) ;; *) fail "unknown column: $ERR" ;; esac
python3 - <<'PY'
b = bytearray(open("rocni.dbf", "rb").read())
at = b.find(b"-744900.000000")
b[at:at + 14] = b"-744870.000000"
open("krivy.dbf", "wb").write(b)
PY
run_cli 0 set "$P" DbfExport VstDbf krivy.dbf
run_cli 1 --yes gis-export "$P" --format tif --column CONC_VALUE --out mapa.tif
case "$ERR" in *"Bod 2 (záznam 2, X -744870.000, Y -1043000.000) neleží v pravidelné mřížce"*) ;;
  *) fail "irregular lattice: $ERR" ;; esac
cmp -s mapa.tif before.tif || fail "a refused export changed the previous file"
run_cli 2 gis-export "$P" --format shp
[ -z "$(ls -a | grep ovd-)" ] || fail "temporary files left: $(ls -a)"

# The older exports: a .prj beside the shapefile, the MapInfo header in the study's system.
run_cli 0 set "$P" DbfExport VstDbf rocni.dbf
run_cli 0 set "$P" DbfExport ZapisGis 0
run_cli 0 set "$P" DbfExport VystShp rocni.shp
run_cli 0 set "$P" DbfExport VystShx rocni.shx
run_cli 0 --yes dbf-export "$P"
case "$(cat rocni.prj)" in 'PROJCS["S-JTSK_Krovak_East_North"'*) ;; *) fail "prj: $(cat rocni.prj)" ;; esac
run_cli 0 set "$P" DbfExport ZapisGis 4
run_cli 0 --yes dbf-export "$P"
[ -s rocni.geojson ] || fail "the DBF export's GeoJSON target"

# Terrain: a GeoTIFF gives the matrix of the same ESRI grid; an unreadable raster is refused.
printf 'ncols 3\nnrows 2\nxllcorner -745000\nyllcorner -1043000\ncellsize 100\nNODATA_value -9999\n310 -9999 330\n340 350 360\n' > teren.asc
gdal_translate -q -of GTiff -a_srs EPSG:5514 teren.asc teren.tif
run_cli 0 set "$P" PrevodVyskopisu TypZapisu 1
for src in asc tif; do
  run_cli 0 set "$P" Global VstVyskoTxt teren.$src
  run_cli 0 set "$P" Global VstVyskoBin teren_$src.bin
  run_cli 0 --yes terrain "$P"
  expect_eq "terrain status ($src)" "Zapsáno 2 řádků s 3 sloupci" "$OUT"
  cp prub_vys.tmp log_$src.txt
done
cmp -s teren_asc.bin teren_tif.bin || fail "GeoTIFF terrain differs from its text grid"
cmp -s log_asc.txt log_tif.txt || fail "the run logs differ"
printf 'II*\0nothing' > rozbity.tif
run_cli 0 set "$P" Global VstVyskoTxt rozbity.tif
run_cli 1 --yes terrain "$P"
case "$ERR" in *"rozbity.tif nelze použít jako rastr s výškopisem"*) ;; *) fail "bad raster: $ERR" ;; esac

finish
