#!/usr/bin/env bash
# A shapefile is a set: its points, the table of its own name and the .prj of the study's
# system. An export never pairs new points with another table, and a .prj of a system the
# study no longer has goes with the old set.
. "$(dirname "$0")/lib.sh"

MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
cd "$WORK"
P=p.ovd
$MAKE rocni.dbf 4
$MAKE denni.dbf 3
set_keys $P "DbfExport VstDbf rocni.dbf" "DbfExport ZapisGis 0" "DbfExport VystShp rocni.shp" \
  "DbfExport VystShx rocni.shx" "Global SouradnicovySystem EPSG:5514"
run_cli 0 --yes dbf-export $P
[ -s rocni.prj ] || fail "no .prj with a system"

# The table changed, the shapefile names not: refused before anything is asked, naming both.
run_cli 0 set $P DbfExport VstDbf denni.dbf
cp rocni.shp before.shp
run_cli 1 dbf-export $P
expect_eq "other table" "Chyba: Výstupní SHP soubor rocni.shp nemá stejnou složku a jméno jako vstupní DBF soubor denni.dbf.
    Atributy shapefilu jsou v DBF souboru jeho jména, nové body by se spojily s jinou tabulkou. Zvolte SHP soubor denni.shp." "$ERR"
cmp -s rocni.shp before.shp || fail "the refused export changed rocni.shp"
mkdir -p jinde
run_cli 0 set $P DbfExport VystShp jinde/denni.shp
run_cli 1 --yes dbf-export $P
case "$ERR" in *"Výstupní SHP soubor jinde/denni.shp nemá stejnou složku"*) ;; *) fail "other folder: $ERR" ;; esac
[ ! -e jinde/denni.shp ] || fail "a refused export wrote jinde/denni.shp"
# The same folder reached another way is the same folder.
run_cli 0 set $P DbfExport VystShp ./jinde/../denni.shp
run_cli 0 set $P DbfExport VystShx denni.shx
run_cli 0 --yes dbf-export $P
[ -s denni.shp ] || fail "export beside its own table"

# The system cleared: the next export leaves no .prj of the old system beside the new set.
run_cli 0 set $P DbfExport VstDbf rocni.dbf
run_cli 0 set $P DbfExport VystShp rocni.shp
run_cli 0 set $P DbfExport VystShx rocni.shx
run_cli 0 set $P Global SouradnicovySystem ""
run_cli 0 --yes dbf-export $P
[ ! -e rocni.prj ] || fail "the old .prj stayed beside the new shapefile"
[ -s rocni.shp ] && [ -s rocni.shx ] || fail "the shapefile itself"
# The isolines' set likewise.
set_keys $P "Izolinie VstDbf rocni.dbf" "Izolinie VystShp izo.shp" "Izolinie VystShx izo.shx" \
  "Izolinie VystDbf izo.dbf" "Izolinie PozSeznamSloupcu 5" "Izolinie PocetUsekuNaStrane 20" "Izolinie SkalaOd 1" "Izolinie SkalaKrok 2" \
  "Global SouradnicovySystem EPSG:5514"
run_cli 0 --yes isolines $P
[ -s izo.prj ] || fail "isolines without their .prj"
run_cli 0 set $P Global SouradnicovySystem ""
run_cli 0 --yes isolines $P
[ ! -e izo.prj ] || fail "the isolines' old .prj stayed"

finish
