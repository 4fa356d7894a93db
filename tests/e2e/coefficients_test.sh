#!/usr/bin/env bash
# Coefficients on a generated study: text inputs and terrain converted, the three
# matrices computed, shown and exported; bad inputs leave the matrices as they were.
. "$(dirname "$0")/lib.sh"
CLI=$(realpath "$CLI")

cd "$WORK"
# Reference points: the grid, one due south of source 1, one 1 m beyond the east edge.
small_study "13, 500, 300, 330, 1.5;" "14, 1201, 500, 330, 1.5;"
add_source "3, 100, 950, 305, 3, 0, 2;" "3, 0.4, 100, 110, 120, 130, 6, 0.25, 0.5, 24;"
set_keys $P "Koeficienty VzdalenostBodu 25" "Koeficienty PouzijInterpolaci 1"
run_cli 0 --yes convert $P
run_cli 0 --yes terrain $P
run_cli 0 --yes coefficients $P
for m in theta delta zmax; do
  expect_eq "$m size" $((8 + 4 * 3 * 14)) "$(stat -c %s $m.bin)"
done
run_cli 0 matrix-show delta.bin
expect_eq "viewer header" "Počet řádků   : 3
Počet sloupců : 14" "$(printf '%s\n' "$OUT" | head -2)"
expect_eq "viewer headings" "#	1	2	3	4	5	6	7	8	9	10	11	12	13	14" "$(printf '%s\n' "$OUT" | sed -n 3p)"
row1=$(printf '%s\n' "$OUT" | sed -n 4p)
expect_eq "source 1 due north of point 13" "    0.00000" "$(printf '%s\n' "$row1" | cut -f14)"
expect_eq "point outside the terrain" "    0.00000" "$(printf '%s\n' "$row1" | cut -f15)"
grep -q '^REF: 14 - mimo ohr. oblast, nahrazeno nulami$' prub_koe.tmp || fail "log names the point outside"
run_cli 0 matrix-show delta.bin --header
expect_eq "header only" "Počet řádků   : 3
Počet sloupců : 14" "$OUT"
run_cli 2 matrix-show delta.bin --values
run_cli 0 matrix-show zmax.bin
# The terrain rises to the east: the source at x = 100 sees higher ground on every line.
case "$(printf '%s\n' "$OUT" | sed -n 6p | cut -f2)" in "    0.00000") fail "ZMax of source 3 is zero";; esac

run_cli 0 matrix-export $P theta.bin
expect_eq "export lines" 5 "$(wc -l < theta.txt)"
expect_eq "export header" "Pocet radku   : 3" "$(head -1 theta.txt)"
expect_eq "export value width" 168 "$(sed -n 3p theta.txt | tr -d '\n' | wc -c)"
run_cli 0 get $P MaticeExport VystTxtMatice
expect_eq "derived text name" "theta.txt" "$OUT"

# Bad inputs: clear messages, nothing written.
cp theta.bin theta.keep
head -c 200 zdroje.bin > cut.bin
run_cli 0 set $P Global VstZdrojBodBin cut.bin
run_cli 1 --yes coefficients $P
expect_eq "truncated sources" "Chyba: Binární soubor se zdroji má chybnou délku nebo hlavičku." "$ERR"
cmp -s theta.bin theta.keep || fail "matrix kept after a failed run"
run_cli 0 set $P Global VstZdrojBodBin zdroje.bin
run_cli 0 set $P Koeficienty VzdalenostBodu 0
run_cli 1 --yes coefficients $P
expect_eq "zero step" "Chyba: Vzdálenost mezi body nesmí být nulová !" "$ERR"
run_cli 0 set $P Koeficienty VzdalenostBodu 25
run_cli 3 --no coefficients $P
cmp -s theta.bin theta.keep || fail "No to the overwrite question keeps the matrix"

head -c 60 theta.bin > wrong.bin
run_cli 0 set $P MaticeExport VystTxtMatice wrong.txt
run_cli 1 matrix-export $P wrong.bin
expect_eq "wrong size export" "Chyba: Nejedná se o binární soubor s maticí koeficientů theta, delta nebo zmax !
Převod neuskutečněn, chybný soubor." "$ERR"
[ -e wrong.txt ] && fail "no text for a wrong matrix"
run_cli 4 matrix-show wrong.bin
run_cli 1 matrix-show missing.bin
expect_eq "missing matrix" "Chyba: Vstupní soubor s binární maticí nelze otevřít !" "$ERR"
finish
