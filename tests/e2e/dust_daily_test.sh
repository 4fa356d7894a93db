#!/usr/bin/env bash
# Dust (annual and maximum) and daily concentrations (gas and dust) on the example study,
# whose sources have dust lines and dust groups: the tables, run logs and protocols, the
# header question about the kind of sources, and a refused wind speed.
. "$(dirname "$0")/lib.sh"

cd "$WORK"
example_study
set_keys $P "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KoncDobyPrek1 0.01" "VypocetRocni KrokVypoctu 2" \
  "VypocetDenni VystDbf denni.dbf" "VypocetDenni TridaStability 3" "VypocetDenni RychlostVetru 3" \
  "VypocetDenni SmerVetru 225" "VypocetDenni TridaLatky 1"

# The gas result first, for comparison.
run_cli 0 run $P
cp rocni.dbf gas.dbf

# Annual dust through the unattended main road: the conversion writes the dust file.
run_cli 0 set $P Global TypVypoctu 1
run_cli 0 run $P
expect_eq "dust run log" "Vypocet probehl v poradku." "$(sed -n 2p prub_roc.tmp)"
expect_eq "protocol point lines" "1681" "$(grep -c '^Cislo Ref : ' rocni.vst)"
run_cli 0 dbf-show rocni.dbf
expect_eq "dust annual rows" "1682" "$(echo "$OUT" | wc -l)"
echo "$OUT" | awk -F'\t' 'NR > 1 && $7 + 0 > 0 { found = 1 } END { exit !found }' || fail "all dust annual means are 0"
cmp -s rocni.dbf gas.dbf && fail "the dust result equals the gas result"
# the source table has the gas fields only
run_cli 0 dbf-show zdroje.dbf
expect_eq "source table fields" "17" "$(echo "$OUT" | head -1 | awk -F'\t' '{ print NF }')"
expect_eq "source table rows" "8" "$(echo "$OUT" | wc -l)"

# Maximum of dust.
run_cli 0 set $P Global ZpusobVypoctu 1
run_cli 0 set $P VypocetRocni VystDbf max.dbf
run_cli 0 set $P VypocetRocni KrokVypoctu 3
run_cli 0 set $P VypocetRocni KrokVypoctuVlastni 15
run_cli 0 --yes concentrations $P
run_cli 0 dbf-show max.dbf
expect_eq "dust maximum fields" "#	ID_POINT  	X_COORD   	Y_COORD   	Z_ELEV    	L_ELEV    	CONC_MAX  	CLASS_STAB	W_VELOCITY	W_DIRECT  	CONC_AVG  	T1_0_01000" "$(echo "$OUT" | head -1)"
echo "$OUT" | awk -F'\t' 'NR > 1 && $7 + 0 > 0 { found = 1 } END { exit !found }' || fail "all dust maxima are 0"

# Daily dust.
run_cli 0 --yes daily $P
expect_eq "daily dust message" "Zpráva: Vypočet denních koncentrací proběhl v pořádku ." "$ERR"
grep -q '^Dnešni datum : ' prub_den.tmp || fail "daily dust run log date line"
expect_eq "daily run log end" "Vypocty ukonceny OK. |Data zapsana do DBF. " "$(sed -n '2p;3p' prub_den.tmp | paste -sd'|')"
grep -q '^Trida stability           : 4$' denni.vst || fail "protocol stability class"
grep -q '^Smer vetru                : 225.000000$' denni.vst || fail "protocol direction"
expect_eq "daily protocol point lines" "1681" "$(grep -c '^Cislo Ref : .* C : ' denni.vst)"
run_cli 0 dbf-show denni.dbf
expect_eq "daily table fields" "#	ID_POINT  	X_COORD   	Y_COORD   	Z_ELEV    	L_ELEV    	CONC_VALUE" "$(echo "$OUT" | head -1)"
echo "$OUT" | awk -F'\t' 'NR > 1 && $7 + 0 > 0 { found = 1 } END { exit !found }' || fail "all daily dust values are 0"
cp denni.dbf dust_daily.dbf

# A wind speed of 0 is refused before any file is touched.
run_cli 0 set $P VypocetDenni RychlostVetru 0
rm -f prub_den.tmp
run_cli 1 --yes daily $P
expect_eq "zero speed" "Chyba: Rychlost větru musí být větší než 0!" "$ERR"
[ -e prub_den.tmp ] && fail "a refused run wrote its run log"
cmp -s denni.dbf dust_daily.dbf || cmp -l denni.dbf dust_daily.dbf | awk '$1 > 4 { bad = 1 } END { exit bad }' \
  || fail "a refused run changed the table"
run_cli 0 set $P VypocetDenni RychlostVetru 3

# Daily gas with the dust source file: the question, No ends the run.
run_cli 0 set $P Global TypVypoctu 0
run_cli 3 --no daily $P
expect_eq "question leaves the table" "" "$(cmp -l denni.dbf dust_daily.dbf | awk '$1 > 4')"
run_cli 0 --yes convert $P
run_cli 0 --yes daily $P
expect_eq "daily gas message" "Zpráva: Výpočet denních koncentrací proběhl v pořádku ." "$ERR"
grep -q '^Dnesni datum : ' prub_den.tmp || fail "daily gas run log date line"
cmp -l denni.dbf dust_daily.dbf | awk '$1 > 4 { d = 1 } END { exit !d }' || fail "gas and dust daily are the same"

# A dust run on the gas source file asks the dust question; taken as it is, the file has
# no fractions, so nothing is counted.
run_cli 0 set $P Global TypVypoctu 1
run_cli 3 --no concentrations $P
run_cli 3 --no daily $P
run_cli 0 --yes daily $P
run_cli 0 dbf-show denni.dbf
echo "$OUT" | awk -F'\t' 'NR > 1 && $7 + 0 != 0 { bad = 1 } END { exit bad }' || fail "sources without fractions gave a value"
finish
