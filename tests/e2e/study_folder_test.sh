#!/usr/bin/env bash
# Every command works as if started in the project file's folder: its relative paths, its
# run logs and the files placed "in the current folder" are the study folder's, whatever
# folder ovardix-cli was started in; names typed on the command line stay the caller's.
. "$(dirname "$0")/lib.sh"

unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
mkdir -p "$WORK/a/study" "$WORK/elsewhere"
cd "$WORK/a/study"
small_study
cp "$OVD_SOURCE_DIR/examples/study/ruzice.txt" .
set_keys $P "Global VstRuziceTxt ruzice.txt" "VypocetRocni KrokVypoctu 2" "DbfExport VstDbf rocni.dbf" \
  "DopocetVysky VstSouradniceTxt body.txt" "DopocetVysky PrepsatSoubor 1"
cd "$WORK/elsewhere"
S=../a/study/study.ovd

run_cli 0 --yes convert $S
[ -s "$WORK/a/study/body.bin" ] && [ -s "$WORK/a/study/zdroje.bin" ] || fail "binary files not in the study's folder"
[ -e "$WORK/a/study/prub_mod.tmp" ] || fail "the conversion's run log not in the study's folder"
[ -z "$(ls)" ] || fail "files written in the caller's folder: $(ls)"
run_cli 0 --yes terrain $S
run_cli 0 --yes heights $S
[ -s "$WORK/a/study/teren.bin" ] || fail "terrain"

# The main road from elsewhere, then the study moved: it still runs.
run_cli 0 set $S VypocetRocni VystDbf rocni.dbf
run_cli 0 set $S Koeficienty VzdalenostBodu 200
run_cli 0 --yes run $S
[ -s "$WORK/a/study/rocni.dbf" ] || fail "the main road's results: $ERR"
mv "$WORK/a/study" "$WORK/moved"
run_cli 0 --yes run ../moved/study.ovd
[ -z "$(ls)" ] || fail "files written in the caller's folder: $(ls)"

# Names typed on the command line are the caller's: --out here, --table there.
run_cli 0 --yes gis-export ../moved/study.ovd --format csv --out vysledky.csv
[ -s vysledky.csv ] || fail "--out not in the caller's folder: $(ls)"
run_cli 0 --yes gis-export ../moved/study.ovd --format csv --out ../moved/v2.csv
[ -s ../moved/v2.csv ] || fail "--out into the study's folder"
run_cli 1 --yes gis-export ../moved/study.ovd --format csv --out ../moved/study.ovd
case "$ERR" in *"Soubor study.ovd je zadán jako soubor projektu"*) ;; *) fail "project reached from elsewhere: $ERR" ;; esac

finish
