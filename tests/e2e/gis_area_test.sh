#!/usr/bin/env bash
# A study whose points lie outside the area of use of its coordinate system: setting such a
# system warns with the area and the points' extent, and the exports that transform the
# coordinates refuse instead of sending the points to another continent.
. "$(dirname "$0")/lib.sh"

MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
cd "$WORK"
P=p.ovd
$MAKE rocni.dbf 3
printf ';BODY\n1, -745000, -1043000, 300, 1.5;\n2, -744800, -1042800, 300, 1.5;\n' >body.txt
set_keys $P "DbfExport VstDbf rocni.dbf" "Global VstReferBodTxt body.txt"

for system in EPSG:4326 EPSG:32633; do
  run_cli 0 set $P Global SouradnicovySystem $system
  case "$ERR" in "Upozornění: Body studie leží mimo oblast použití souřadnicového systému $system ("*"Rozsah bodů v systému studie: X -745000.000 až -744800.000, Y -1043000.000 až -1042800.000."*) ;;
    *) fail "set $system: $ERR" ;; esac
  run_cli 0 get $P Global SouradnicovySystem
  expect_eq "the system is set all the same" "$system" "$OUT"
  for f in geojson kml; do
    run_cli 1 --yes gis-export $P --format $f
    case "$ERR" in *"Body studie leží mimo oblast použití souřadnicového systému $system"*) ;; *) fail "$f in $system: $ERR" ;; esac
    [ ! -e rocni.$f ] || fail "$f written in $system"
  done
  # The exports that keep the coordinates as they are still write them.
  run_cli 0 --yes gis-export $P --format csv
done
run_cli 0 set $P Global SouradnicovySystem EPSG:5514
expect_eq "the study's own system" "" "$ERR"
run_cli 0 --yes gis-export $P --format geojson
[ -s rocni.geojson ] || fail "geojson in the study's system"

finish
