#!/usr/bin/env bash
# A study split into tiles, each computed by a plain "run" in its own folder, and merged:
# the merged tables, protocol and run log equal the unsplit run's apart from the dates.
# Then what merge refuses (writing nothing), what tile refuses, and the line that points a
# study over the limit of one run to tiling.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/tiles_lib.sh"

cd "$WORK"
small_study annual 300 annual
reference_run
run_cli 0 tile study.ovd --points 100
expect_eq "tile list" "3" "$(echo "$OUT" | wc -l)"
expect_eq "second tile" "study_dlazdice/002/study.ovd	101-200" "$(echo "$OUT" | sed -n 2p)"
expect_eq "tile points" "100" "$(grep -c '^[ ]*[1-9]' study_dlazdice/003/body.txt)"
grep -q '^VstZdrojBodTxt=../../zdroje.txt$' study_dlazdice/001/study.ovd || fail "shared input not reached from the tile"
before=$(ls -l --time-style=+%s.%N)
run_tiles_one_by_one
# every file a tile writes stays in its folder
expect_eq "files beside the study after the tile runs" "$before" "$(ls -l --time-style=+%s.%N)"
for f in body.bin zdroje.bin theta.bin vysledky.dbf vysledky.vst podily.dbf prub_roc.tmp hotovo.txt; do
  [ -e "study_dlazdice/002/$f" ] || fail "tile 002 has no $f"
done
run_cli 0 merge study.ovd
same_as_reference "3 tiles, one run each"
cp rocni.dbf merged.dbf

# Refusals: each names the tiles, exits 1 and leaves the merged table as it was.
refused() {  # WHAT EXPECTED_TEXT
  clear_outputs; cp merged.dbf rocni.dbf
  run_cli 1 --yes merge study.ovd
  case "$ERR" in *"$2"*) ;; *) fail "$1: expected [$2] in: $ERR" ;; esac
  cmp -s rocni.dbf merged.dbf || fail "$1: the result table was touched"
  [ -e podily.dbf ] && fail "$1: a group shares table was written"
}
mv study_dlazdice/002/hotovo.txt stamp.keep
refused "missing tile" "Nespočtené dlaždice: 002"
mv stamp.keep study_dlazdice/002/hotovo.txt

(cd study_dlazdice/003 && "$CLI" set study.ovd VypocetRocni KoncDobyPrek1 2 && "$CLI" run study.ovd 2>/dev/null) \
  || fail "tile 003 with another limit did not run"
refused "other settings" "Dlaždice spočtené s jinými vstupy nebo nastavením: 003"
(cd study_dlazdice/003 && "$CLI" set study.ovd VypocetRocni KoncDobyPrek1 1 && "$CLI" run study.ovd 2>/dev/null)

cp study_dlazdice/manifest.txt manifest.keep
sed -i 's/^Dlazdice=003,201,300,/Dlazdice=003,201,299,/' study_dlazdice/manifest.txt
refused "edited manifest" "byl upraven nebo je poškozen"
mv manifest.keep study_dlazdice/manifest.txt

cp ruzice.txt ruzice.keep
sed -i '2s/^\([0-9]*\)/\1 /' ruzice.txt
refused "changed input" "Vstupní soubor ruzice.txt (klíč VstRuziceTxt) se od rozdělení na dlaždice změnil"
refused "what to run" "Rozdělte studii znovu příkazem ovardix-cli tile"
mv ruzice.keep ruzice.txt
cp study.ovd study.keep
"$CLI" set study.ovd VypocetRocni OtoceniRuzice 5 >/dev/null
refused "changed setting" "Nastavení výpočtu studie nebo rychlosti větru profilu se od rozdělení na dlaždice změnily"
mv study.keep study.ovd

# Tiles computed with different vector widths cannot be merged; a fixed width is kept.
WIDTH=()
if (cd study_dlazdice/001 && OVARDIX_VECTOR_WIDTH=avx2 "$CLI" run study.ovd 2>/dev/null) &&
   grep -q '^SirkaVektoru=avx2$' study_dlazdice/001/hotovo.txt; then
  (cd study_dlazdice/002 && OVARDIX_VECTOR_WIDTH=sse2 "$CLI" run study.ovd 2>/dev/null)
  (cd study_dlazdice/003 && OVARDIX_VECTOR_WIDTH=sse2 "$CLI" run study.ovd 2>/dev/null)
  refused "mixed widths" "Dlaždice spočtené s jinou šířkou vektorů: 001 (avx2 místo sse2)"
  run_cli 0 --yes tile study.ovd --points 100 --width sse2
  grep -q '^SirkaVektoru=sse2$' study_dlazdice/002/study.ovd || fail "the fixed width is not in the tile"
  [ -e study_dlazdice/002/hotovo.txt ] && fail "a tile whose project changed keeps its record"
  (cd study_dlazdice/002 && OVARDIX_VECTOR_WIDTH=avx2 "$CLI" run study.ovd 2>"$WORK/err"; echo $? >"$WORK/rc")
  expect_eq "width against the variable" "1" "$(cat "$WORK/rc")"
  grep -q 'Dlaždice se počítá se šířkou vektorů sse2' "$WORK/err" || fail "width conflict message: $(cat "$WORK/err")"
  run_tiles_one_by_one
  "$CLI" set study_dlazdice/001/study.ovd Dlazdice SirkaVektoru avx2
  (cd study_dlazdice/001 && "$CLI" run study.ovd 2>/dev/null)
  refused "fixed width" "Dlaždice spočtené s jinou šířkou vektorů než sse2: 001 (avx2)"
  "$CLI" set study_dlazdice/001/study.ovd Dlazdice SirkaVektoru sse2
  WIDTH=(--width sse2)
  # Bits agree only on one width: the tiles now run on sse2, so the unsplit run does too.
  mv ref ref.default
  OVARDIX_VECTOR_WIDTH=sse2 reference_run
fi

# A tile split again the same way keeps its results; the study merges after a rerun of tile 1.
run_cli 0 tile study.ovd --points 100 "${WIDTH[@]}"
[ -e study_dlazdice/002/hotovo.txt ] || fail "an unchanged tile lost its record when tiled again"
(cd study_dlazdice/001 && "$CLI" run study.ovd 2>/dev/null)
clear_outputs
run_cli 0 merge study.ovd
same_as_reference "after tiling again"
if [ -d ref.default ]; then rm -rf ref; mv ref.default ref; fi

# The Slurm array's task bodies, one per tile (the second one twice: it is then skipped),
# and the merge job's body.
rm -rf study_dlazdice; clear_outputs
run_cli 0 tile study.ovd --points 100
for task in 1 2 3 2; do
  SLURM_ARRAY_TASK_ID=$task OVARDIX_CLI="$CLI" bash "$OVD_SOURCE_DIR/scripts/slurm/run-tiles.sbatch" study.ovd \
    >"$WORK/task.out" 2>&1 || fail "array task $task: $(cat "$WORK/task.out")"
done
grep -q 'Dlaždice 002 byla již spočtena.' "$WORK/task.out" || fail "a complete tile was computed again"
SLURM_ARRAY_TASK_ID=4 OVARDIX_CLI="$CLI" bash "$OVD_SOURCE_DIR/scripts/slurm/run-tiles.sbatch" study.ovd 2>/dev/null \
  && fail "an array task beyond the tiles succeeded"
OVARDIX_CLI="$CLI" bash "$OVD_SOURCE_DIR/scripts/slurm/merge.sbatch" study.ovd 2>/dev/null || fail "merge job"
same_as_reference "Slurm task bodies"

# What tile refuses.
run_cli 1 tile study.ovd --points 30001
expect_eq "too many points per tile" "Chyba: Počet bodů dlaždice musí být 1 až 30000!" "$ERR"
run_cli 2 tile study.ovd --width avx1024
run_cli 2 tile study.ovd --points
mv zdroje.txt zdroje.keep
run_cli 1 tile study.ovd
case "$ERR" in *"zdroje.txt"*"VstZdrojBodTxt"*) ;; *) fail "missing shared input: $ERR" ;; esac
mv zdroje.keep zdroje.txt

# Over the limit of one run: the run's message stays, the next line tells how to tile.
awk 'BEGIN { for (i = 1; i <= 30001; i++) printf "%d, %d, %d, 300, 1.5\n", i, 1000 + (i % 200) * 10, 1000 + int(i / 200) * 10 }' > velke.txt
run_cli 0 set study.ovd Global VstReferBodTxt velke.txt
run_cli 0 set study.ovd Global VstReferBodBin velke.bin
run_cli 0 --yes convert study.ovd
run_cli 1 --yes concentrations study.ovd
expect_eq "limit message" "Chyba: Chyba při kontrole počtu sloupců vstupních matic, popřípadě překročení limitu referenčních bodů !" "$(echo "$ERR" | sed -n 1p)"
case "$(echo "$ERR" | sed -n 2p)" in *"ovardix-cli tile PROJEKT.ovd"*) ;; *) fail "no tiling hint: $ERR" ;; esac
finish
