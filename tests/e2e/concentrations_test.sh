#!/usr/bin/env bash
# Annual and maximum concentrations on the bundled example study through the unattended
# main road, then bad inputs: each stops with its message and exit 1, and leaves the
# result table of the previous run as it was.
. "$(dirname "$0")/lib.sh"

cd "$WORK"
example_study
set_keys $P "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KoncDobyPrek1 1" "VypocetRocni KoncDobyPrek3 5" \
  "VypocetRocni PodilySkupinZdroju 1" "VypocetRocni VystDbfPodily podily.dbf" "VypocetRocni KrokVypoctu 2"

run_cli 0 run $P
for f in body.bin zdroje.bin theta.bin rocni.dbf rocni.vst zdroje.dbf podily.dbf prub_roc.tmp; do
  [ -s "$f" ] || fail "run did not write $f"
done
[ -e rocni.tmp ] && fail "the checkpoint file stays after a complete run"
expect_eq "run log" "Vypocet probehl v poradku." "$(sed -n 2p prub_roc.tmp)"
expect_eq "run log end" "Hodnoty zapsany do DBF." "$(tail -c 23 prub_roc.tmp)"
grep -q '^Krok cyklu ve stupnich    : 3.000000$' rocni.vst || fail "protocol step line"
expect_eq "protocol point lines" "1681" "$(grep -c '^Cislo Ref : ' rocni.vst)"
run_cli 0 dbf-show rocni.dbf
expect_eq "annual table fields" "#	ID        	X_COORD   	Y_COORD   	Z_ELEV    	L_ELEV    	CONC_AVG  	CM_MAX    	CM_1_01_7 	CM_2_01_7 	CM_2_05_0 	CM_3_01_7 	CM_3_05_0 	CM_3_11_0 	CM_4_01_7 	CM_4_05_0 	CM_4_11_0 	CM_5_01_7 	CM_5_05_0 	T1_1_00000	T3_5_00000" "$(echo "$OUT" | head -1)"
expect_eq "annual table rows" "1682" "$(echo "$OUT" | wc -l)"
# some point gets a positive annual mean
echo "$OUT" | awk -F'\t' 'NR > 1 && $7 + 0 > 0 { found = 1 } END { exit !found }' || fail "all annual means are 0"
# the group shares of a point add up to 100 percent
run_cli 0 dbf-show podily.dbf
echo "$OUT" | awk -F'\t' 'NR > 1 { s = 0; for (i = 7; i <= NF; i++) s += $i; if (s > 0 && (s < 99.9 || s > 100.1)) bad = 1 } END { exit bad }' \
  || fail "group shares do not add up to 100"
cp rocni.dbf previous.dbf

# Maximum concentrations with the same inputs.
run_cli 0 set $P Global ZpusobVypoctu 1
run_cli 0 set $P VypocetRocni VystDbf max.dbf
run_cli 0 set $P VypocetRocni KrokVypoctu 3
run_cli 0 set $P VypocetRocni KrokVypoctuVlastni 15
run_cli 0 --yes concentrations $P
[ -s prub_max.tmp ] || fail "maximum run log"
run_cli 0 dbf-show max.dbf
expect_eq "maximum table fields" "#	ID_POINT  	X_COORD   	Y_COORD   	Z_ELEV    	L_ELEV    	CONC_MAX  	CLASS_STAB	W_VELOCITY	W_DIRECT  	CONC_AVG  	T1_1_00000	T3_5_00000" "$(echo "$OUT" | head -1)"
grep -q 'C max : .*Trida : [1-5],' max.vst || fail "maximum protocol lines"

# Bad inputs: the annual run again, each time one thing broken.
run_cli 0 set $P Global ZpusobVypoctu 0
run_cli 0 set $P VypocetRocni VystDbf rocni.dbf
run_cli 0 set $P VypocetRocni KrokVypoctu 2
expect_unchanged() { cmp -s rocni.dbf previous.dbf || fail "$1: the result table changed"; }

mv zdroje.bin zdroje.keep
run_cli 1 --yes concentrations $P
expect_eq "missing sources" "Chyba: Vstupní soubor se zdroji nelze otevřít !" "$ERR"
head -c 100 zdroje.keep > zdroje.bin
run_cli 1 --yes concentrations $P
[ -n "$ERR" ] || fail "short sources file: no message"
mv zdroje.keep zdroje.bin
expect_unchanged "sources"

cp ruzice.txt ruzice.keep
head -n 6 ruzice.keep > ruzice.txt
run_cli 1 --yes concentrations $P
expect_eq "short wind rose" "Zpráva: Špatné rozložení vstupního souboru !!!" "$ERR"
mv ruzice.keep ruzice.txt
expect_unchanged "wind rose"

cp theta.bin theta.keep
printf '\x07\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00' > theta.bin
run_cli 1 --yes concentrations $P
expect_eq "matrix size" "Chyba: Chyba při kontrole počtu sloupců vstupních matic, popřípadě překročení limitu referenčních bodů !" "$ERR"
mv theta.keep theta.bin
expect_unchanged "matrix"

# A checkpoint of another run is not offered: the run starts at 0 and removes it.
head -c 64 rocni.dbf > rocni.tmp
run_cli 0 --yes concentrations $P
[ -e rocni.tmp ] && fail "stale checkpoint left behind"
cmp -s rocni.dbf previous.dbf || {
  # only the date bytes may differ between the two runs
  cmp -l rocni.dbf previous.dbf | awk '$1 > 4 { bad = 1 } END { exit bad }' || fail "the rerun gave another table"
}
# Nearby sources: source 2 joins cluster 5, which the clusters file must describe.
sed -i 's/^000000002, -0866200, -1012800, 0000, 1, 0, 2/000000002, -0866200, -1012800, 0000, 1, 5, 2/' zdroje.txt
run_cli 0 --yes convert $P
printf '1,2,10.0\n' > shluky.txt
run_cli 0 set $P Global BlizkeZdroje 1
run_cli 0 set $P Global VstPopisTxt shluky.txt
run_cli 1 --yes concentrations $P
expect_eq "missing cluster" "Chyba: Nenalezeno odpovídající číslo shluku" "$ERR"
expect_unchanged "cluster"
printf '5,0,10.0\n' > shluky.txt
run_cli 1 --yes concentrations $P
expect_eq "empty cluster" "Chyba: Popis shluku 5 je chybný: počet zdrojů musí být větší než 0 a vzdálenost nesmí být záporná!" "$ERR"
printf ';shluky\n5,3,40.0\n' > shluky.txt
run_cli 0 --yes concentrations $P
grep -q '^  TXT popis shluku        : shluky.txt$' rocni.vst || fail "protocol names the clusters file"
finish
