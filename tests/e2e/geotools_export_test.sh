#!/usr/bin/env bash
# Display and export of result tables through ovardix-cli, and the outputs opened by ogrinfo.
. "$(dirname "$0")/lib.sh"

MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
P="$WORK/p.ovd"
cd "$WORK"

# A one-point table: the whole shapefile byte for byte (negative coordinates, true box).
$MAKE one.dbf 1
run_cli 0 dbf-show one.dbf
expect_eq "display" "$(printf '#\tID_POINT  \tX_COORD   \tY_COORD   \tZ_ELEV    \tL_ELEV    \tCONC_VALUE\n1\t         1\t -745000.000000\t-1043000.000000\t     300.000000\t       1.500000\t      10.000000')" "$OUT"
run_cli 0 set "$P" DbfExport VstDbf one.dbf
run_cli 0 set "$P" DbfExport VystShp one.shp
run_cli 0 set "$P" DbfExport VystShx one.shx
run_cli 0 dbf-export "$P"
expect_eq "gis message" "Zpráva: Export do souborů pro GIS dokončen." "$ERR"
head="00 00 27 0a 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
rest="e8 03 00 00 01 00 00 00 00 00 00 00 50 bc 26 c1 00 00 00 00 70 d4 2f c1 00 00 00 00 50 bc 26 c1 00 00 00 00 70 d4 2f c1 $(printf '00 %.0s' $(seq 32) | sed 's/ $//')"
expect_eq "one-point shp" "$head 00 00 00 40 $rest 00 00 00 01 00 00 00 0a 01 00 00 00 00 00 00 00 50 bc 26 c1 00 00 00 00 70 d4 2f c1" "$(hex one.shp)"
expect_eq "one-point shx" "$head 00 00 00 36 $rest 00 00 00 32 00 00 00 0a" "$(hex one.shx)"

# A deleted record: skipped by the display and the exports, and named in the final message.
$MAKE del.dbf 3 --delete 2
run_cli 0 dbf-show del.dbf
expect_eq "display skips deleted" "8" "$(echo "$OUT" | tail -n 1 | cut -f1)"
expect_eq "header and eight rows" "9" "$(echo "$OUT" | wc -l)"
run_cli 0 set "$P" DbfExport VstDbf del.dbf
run_cli 0 set "$P" DbfExport VystShp del.shp
run_cli 0 set "$P" DbfExport VystShx del.shx
run_cli 0 dbf-export "$P"
[ "$(stat -c %s del.shp)" = $((100 + 8 * 28)) ] || fail "eight points of nine records"
case "$ERR" in *"kopii bez smazaných záznamů"*) ;; *) fail "deleted records not mentioned: $ERR" ;; esac

# The study-sized table through all three targets; then ogrinfo on what was written.
$MAKE vysledky.dbf 10
run_cli 0 set "$P" DbfExport VstDbf vysledky.dbf
for k in Shp:shp Shx:shx Mif:mif Mid:mid Txt:txt; do run_cli 0 set "$P" DbfExport "Vyst${k%%:*}" "vysledky.${k##*:}"; done
run_cli 0 dbf-export "$P"
run_cli 0 set "$P" DbfExport ZapisGis 1
run_cli 0 dbf-export "$P"
expect_eq "mapinfo message" "Zpráva: Export do MapInfo souborů dokončen." "$ERR"
expect_eq "mif data" "Point  -745000.000000 -1043000.000000" "$(sed -n 14p vysledky.mif)"
run_cli 2 dbf-export "$P" --columns 1,2
# Outputs left unnamed are named after the table, as gis-export names its own.
mkdir derived; cp vysledky.dbf derived/tabulka.v1.dbf
run_cli 0 set "$P" DbfExport VstDbf derived/tabulka.v1.dbf
for k in Mif Mid Txt; do run_cli 0 set "$P" DbfExport "Vyst$k" ""; done
run_cli 0 dbf-export "$P"
[ -s derived/tabulka.v1.mif ] && [ -s derived/tabulka.v1.mid ] || fail "unnamed MIF/MID: $(ls derived)"
run_cli 0 set "$P" DbfExport ZapisGis 2
run_cli 0 --yes dbf-export "$P" --columns 1,2
[ -s derived/tabulka.v1.txt ] || fail "unnamed TXT: $(ls derived)"
run_cli 0 set "$P" DbfExport ZapisGis 1
run_cli 0 set "$P" DbfExport VstDbf vysledky.dbf
for k in Mif:mif Mid:mid Txt:txt; do run_cli 0 set "$P" DbfExport "Vyst${k%%:*}" "vysledky.${k##*:}"; done
run_cli 0 set "$P" DbfExport ZapisGis 2
run_cli 0 dbf-export "$P" --columns 6,1
expect_eq "text columns in field order" "         1,       0.063297" "$(head -n 1 vysledky.txt)"
run_cli 3 dbf-export "$P" --columns 1
run_cli 0 --yes dbf-export "$P" --columns 3
expect_eq "overwritten text" "-1043000.000000" "$(head -n 1 vysledky.txt)"
run_cli 1 --yes dbf-export "$P" --columns 7
run_cli 2 dbf-export "$P" --columns 1,x
# The text export needs its columns: a usage error that names the option, the old text kept.
run_cli 2 --yes dbf-export "$P"
case "$ERR" in *"potřebuje volbu --columns"*) ;; *) fail "text export without columns: $ERR" ;; esac
expect_eq "text kept" "-1043000.000000" "$(head -n 1 vysledky.txt)"

# Bad tables: clear messages, nothing written.
printf 'not a table' > bad.dbf
run_cli 0 set "$P" DbfExport VstDbf bad.dbf
run_cli 0 set "$P" DbfExport ZapisGis 0
run_cli 0 set "$P" DbfExport VystShp bad.shp
run_cli 0 set "$P" DbfExport VystShx bad.shx
run_cli 1 dbf-export "$P"
expect_eq "not a table" "Chyba: Soubor bad.dbf není platný DBF soubor (chybná hlavička nebo popis sloupců)!" "$ERR"
head -c 500 vysledky.dbf > cut.dbf
run_cli 0 set "$P" DbfExport VstDbf cut.dbf
run_cli 0 set "$P" DbfExport VystShp cut.shp
run_cli 0 set "$P" DbfExport VystShx cut.shx
run_cli 1 dbf-export "$P"
expect_eq "cut table" "Chyba: DBF soubor cut.dbf je zkrácený: hlavička uvádí 100 záznamů, celých je v něm jen 3." "$ERR"
run_cli 1 dbf-show missing.dbf
expect_eq "missing" "Chyba: Vstupní dbf soubor se nepodařilo otevřít !" "$ERR"
[ ! -e bad.shp ] && [ ! -e cut.shp ] || fail "no shapefile from a bad table"
[ -z "$(ls | grep -E 'ovdtmp|\.hla$|\.tel$|\.tmp$')" ] || fail "working files left behind: $(ls)"

# ogrinfo reads every output: geometry type, feature count and extent.
if ! command -v ogrinfo >/dev/null; then
  fail "ogrinfo is missing (scripts/install-deps.sh installs gdal-bin)"
else
  info=$(ogrinfo -ro -al -so vysledky.shp 2>&1)
  for want in "Geometry: Point" "Feature Count: 100" "Extent: (-745000.000000, -1043000.000000) - (-744100.000000, -1042100.000000)"; do
    case "$info" in *"$want"*) ;; *) fail "ogrinfo of the shapefile lacks [$want]: $(echo "$info" | head -n 3)" ;; esac
  done
  info=$(ogrinfo -ro -al -so vysledky.mif 2>&1)
  for want in "Feature Count: 100" "Extent: (-745000.000000, -1043000.000000) - (-744100.000000, -1042100.000000)" "CONC_VALUE: Real"; do
    case "$info" in *"$want"*) ;; *) fail "ogrinfo of the MIF lacks [$want]: $(echo "$info" | head -n 3)" ;; esac
  done
  info=$(ogrinfo -ro -al vysledky.mif 2>&1)
  case "$info" in *"POINT (-745000 -1043000)"*) ;; *) fail "ogrinfo of the MIF lacks the first point" ;; esac
fi
finish
