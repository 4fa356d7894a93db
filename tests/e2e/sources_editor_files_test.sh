#!/usr/bin/env bash
# Source files written by the sources editor's core pass the main program's checks and
# conversion; hand-written files load into the editor and come out in its own form.
. "$(dirname "$0")/lib.sh"
BATCH=$(cd "$(dirname "$CLI")/.." && pwd)/sources_editor/batch/xovrzdr-batch
[ -x "$BATCH" ] || { echo "xovrzdr-batch not built at $BATCH" >&2; exit 1; }

cd "$WORK"
P=study.ovd
cat > $P <<'INI'
[Global]
VstReferBodTxt=body.txt
VstReferBodBin=body.bin
VstZdrojBodBin=zdroje.bin
TypVypoctu=1
INI
for i in $(seq 1 20); do printf '%d,%d,%d,300,1.5;\n' $i $((1000 + i * 40)) $((2000 + i * 30)); done > body.txt

# hand-written inputs: free spacing, LF line ends, short dust number, a remark after ";"
cat > in_body.txt <<'TXT'
; ruční vstup
1,1200,2400,310,1,0,1;Komín teplárny
2, 1500.5, 2600, 305, 2, 1, 1 ;Skládka
3,1000,2000,300,3,0,2;Silnice I/35
4,1100,2100,300,4,0,0;neznámý typ
TXT
cat > in_popis.txt <<'TXT'
3, 0.002, 1000, 2000, 1400, 2300, 10, 2, 0.9, 24
1,1.5,40,2.3,150,1.2,8.5,0.8,24,0;poznámka, 99
2,0.5,5,0,2,0,0,0.5,12,50
TXT
cat > in_prach.txt <<'TXT'
1,2500,1
2
3
TXT
printf ';skupiny\r\n1,2,5,0.5,10,0.5;Popílek\r\n' > in_skupiny.spr

"$BATCH" --ini $P --comment "Studie údolí" --groups in_skupiny.spr skupiny.spr \
  in_body.txt in_popis.txt in_prach.txt zdroje.txt popis.txt prach.txt 2>err.txt
expect_eq "batch save" "0" "$?"
expect_eq "no messages" "" "$(cat err.txt)"
# A coordinate with decimals keeps them (the editor holds decimals); whole ones stay padded.
expect_eq "points lines" "$(printf ';Studie \xfadol\xed\r\n;SOUBOR S BODY\r\n;Soubor s popisem: popis.txt\r\n;Soubor s prachem: prach.txt\r\n000000001, 0001200, 0002400, 0310, 1, 0, 1 ;Kom\xedn tepl\xe1rny\r\n000000002, 0001500.5, 0002600, 0305, 2, 1, 1 ;Skl\xe1\x64ka\r\n000000003, 0001000, 0002000, 0300, 3, 0, 2 ;Silnice I/35\r\nx')" "$(cat zdroje.txt; printf x)"
expect_eq "description of the point source" "000000001, 1.5, 40, 2.3, 150, 1.2, 8.5, 0.8, 24, 0" "$(grep -a '^000000001' popis.txt | tr -d '\r')"
expect_eq "dust lines" "000000001,2500,1 000000002 000000003" "$(grep -v '^;' prach.txt | tr -d '\r' | xargs)"
run_cli 0 get $P Global VstZdrojBodTxt
expect_eq "project key points" "zdroje.txt" "$OUT"
run_cli 0 get $P Global VstZdrojPrachTxt
expect_eq "project key dust" "prach.txt" "$OUT"
run_cli 0 get $P Global VstZdrojSkupTxt
expect_eq "project key groups" "skupiny.spr" "$OUT"

run_cli 0 check-sources $P
expect_eq "sources verdict" "Soubory lze použít pro výpočet." "$(printf '%s\n' "$OUT" | tail -n 1)"
run_cli 0 --yes convert $P
expect_eq "converted sources" "3" "$(od -An -t d4 -N 4 zdroje.bin | xargs)"

# saving what was saved gives the same bytes
"$BATCH" zdroje.txt popis.txt prach.txt z2.txt p2.txt d2.txt 2>err.txt
expect_eq "resave" "0" "$?"
for pair in zdroje.txt:z2.txt popis.txt:p2.txt prach.txt:d2.txt; do
  expect_eq "second save of ${pair%%:*}" "$(grep -av '^;Soubor' ${pair%%:*})" "$(grep -av '^;Soubor' ${pair##*:})"
done

# computed Vs, new sources numbered from 50001, middle points: still usable by the main program
"$BATCH" --ini $P --compute vs 101325 --new 1 --new 3 --middle \
  zdroje.txt popis.txt prach.txt zdroje.txt popis.txt prach.txt >log.txt 2>err.txt
expect_eq "computation log" "Hotovo." "$(cat log.txt)"
expect_eq "Vs of the point source" "000000001, 1.5, 40, 6.20552, 150, 1.2, 8.5, 0.8, 24, 0" "$(grep -a '^000000001' popis.txt | tr -d '\r')"
expect_eq "new point source" "000050001, 0000000, 0000000, 0000, 1, 0, 0 ;Bodový zdroj 50001" "$(grep -a '^000050001' zdroje.txt | tr -d '\r' | iconv -f CP1250 -t UTF-8)"
expect_eq "middle of the segment" "000000003, 0001200, 0002150, 0300, 3, 0, 2 ;Silnice I/35" "$(grep -a '^000000003' zdroje.txt | tr -d '\r')"
run_cli 0 check-sources $P
run_cli 0 --yes convert $P
expect_eq "converted sources after changes" "5" "$(od -An -t d4 -N 4 zdroje.bin | xargs)"

# a missing description file is reported and nothing is written
cp zdroje.txt before.txt
"$BATCH" zdroje.txt none.txt "" zdroje.txt popis.txt "" 2>err.txt
expect_eq "failed load status" "1" "$?"
case "$(cat err.txt)" in "Načtení seznamu zdrojů: Chyba #"*) ;; *) fail "load error message: $(cat err.txt)";; esac
cmp -s before.txt zdroje.txt || fail "points file changed by a failed run"
finish
