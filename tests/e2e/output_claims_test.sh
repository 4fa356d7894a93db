#!/usr/bin/env bash
# The newer tools' outputs held to the older ones' rules: none may be the project file, the
# profile, a file the study names or another output of the same run (refused before anything
# is asked, nothing changed); unattended runs replace files outside the study's folder only
# when they are files of the kinds this system writes.
. "$(dirname "$0")/lib.sh"

unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
mkdir "$WORK/study" "$WORK/home"
cd "$WORK/study"
P=study.ovd
$MAKE rocni.dbf 5
set_keys $P "DbfExport VstDbf rocni.dbf" "Global SouradnicovySystem EPSG:5514" \
  "Global VstReferBodTxt body.txt" "Global VstVyskoTxt teren.txt" "Global VstVyskoBin teren.bin" \
  "Global VstThetaBin theta.bin" "DbfExport VystShp rocni.shp"
printf ';BODY\n1, -745000, -1043000, 300, 1.5;\n' >body.txt
printf 'ncols 2\n' >teren.txt
printf 'binary terrain' >teren.bin
printf 'matrix' >theta.bin
printf 'shape' >rocni.shp
run_cli 0 get $P Global VstVyskoTxt  # the profile exists from here on
printf '[Ovardix]\n' >>"$OVARDIX_PROFILE"

# kept FILE...: each file as it was before the refused run.
snapshot() { for f in "$@"; do cp "$f" "$WORK/before.$(basename "$f")"; done; }
kept() { for f in "$@"; do cmp -s "$f" "$WORK/before.$(basename "$f")" || fail "$f was changed"; done; }

run_cli 1 --yes gis-export study.ovd --format geojson --out study.ovd
expect_eq "export onto the project" "Chyba: Soubor study.ovd je zadán jako soubor projektu i jako výstupní soubor GIS.
    Zvolte pro výstup jiný soubor." "$ERR"
snapshot study.ovd "$OVARDIX_PROFILE" body.txt teren.txt teren.bin theta.bin rocni.shp rocni.dbf
run_cli 1 --yes gis-export study.ovd --format geojson --out "$OVARDIX_PROFILE"
case "$ERR" in *"je zadán jako uživatelský profil i jako výstupní soubor GIS"*) ;; *) fail "profile: $ERR" ;; esac
for f in body.txt teren.txt teren.bin theta.bin rocni.shp; do
  run_cli 1 --yes gis-export study.ovd --format csv --out $f
  case "$ERR" in *"Soubor $f je zadán jako soubor studie (klíč [Global] "*|*"Soubor $f je zadán jako soubor studie (klíč [DbfExport] VystShp)"*) ;;
    *) fail "export onto $f: $ERR" ;; esac
done
# Without --yes nothing is asked either: the refusal comes first.
run_cli 1 gis-export study.ovd --format kml --out ./theta.bin
kept study.ovd "$OVARDIX_PROFILE" body.txt teren.txt teren.bin theta.bin rocni.shp rocni.dbf
# The export's own key names its own output.
run_cli 0 set $P DbfExport VystGis body.geojson
run_cli 0 --yes gis-export study.ovd --format geojson
[ -s body.geojson ] || fail "the export's own output"

# The map: not onto its background raster, its table or the project.
run_cli 0 --yes map $P --table rocni.dbf --column CONC_VALUE --out podklad.png --width 200
run_cli 0 set $P Mapa VstRastr podklad.png
snapshot podklad.png
run_cli 1 --yes map $P --table rocni.dbf --column CONC_VALUE --out podklad.png --width 200
expect_eq "map onto its background" "Chyba: Soubor podklad.png je zadán jako podkladový rastr mapy i jako výstupní soubor mapy.
    Zvolte pro výstup jiný soubor." "$ERR"
kept podklad.png
run_cli 0 set $P Mapa VstRastr ""

# Unattended runs and files outside the study's folder.
H="$WORK/home"
printf 'my notes\n' >"$H/notes.txt"
printf 'not a picture' >"$H/fake.png"
snapshot "$H/notes.txt" "$H/fake.png"
run_cli 0 set $P DbfExport VystGis "$H/notes.txt"
run_cli 1 --yes gis-export study.ovd --format csv
expect_eq "foreign file" "Chyba: Soubor $H/notes.txt (klíč [DbfExport] VystGis) leží mimo složku projektu a není souborem, který tento program zapisuje.
    Bez obsluhy jej nelze přepsat, nic nebylo zapsáno. Zvolte jiný výstupní soubor." "$ERR"
run_cli 1 --yes map $P --table rocni.dbf --column CONC_VALUE --out "$H/fake.png" --width 200
case "$ERR" in *"Soubor $H/fake.png leží mimo složku projektu"*) ;; *) fail "foreign picture: $ERR" ;; esac
kept "$H/notes.txt" "$H/fake.png"
# A file of the tool's kind outside the folder is replaced, as are files inside it.
run_cli 0 --yes map $P --table rocni.dbf --column CONC_VALUE --out "$H/real.png" --width 200
run_cli 0 --yes map $P --table rocni.dbf --column CONC_VALUE --out "$H/real.png" --width 300
printf 'my own\n' >mine.csv
run_cli 0 set $P DbfExport VystGis mine.csv
run_cli 0 --yes gis-export study.ovd --format csv
case "$(head -c 4 mine.csv)" in X,Y,) ;; *) fail "an output inside the study's folder was not replaced" ;; esac
# Asked on a terminal-less run without --yes, the question's default (No) stays as it was.
run_cli 3 map $P --table rocni.dbf --column CONC_VALUE --out "$H/fake.png" --width 200
case "$ERR" in *"leží mimo složku projektu"*) fail "a question was turned into a refusal: $ERR" ;; esac

finish
