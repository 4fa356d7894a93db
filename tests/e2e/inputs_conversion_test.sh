#!/usr/bin/env bash
# Text inputs through ovardix-cli: grid, both checks and the conversion on a generated study
# with several hundred points and dozens of sources of all three kinds; failures and answers.
. "$(dirname "$0")/lib.sh"

cd "$WORK"
P=study.ovd
cat > $P <<'INI'
[Global]
VstReferBodTxt=body.txt
VstZdrojBodTxt=zdroje.txt
VstZdrojPopTxt=popis.txt
VstZdrojPrachTxt=prach.txt
VstZdrojSkupTxt=skupiny.spr
VstReferBodBin=bin/body.bin
VstZdrojBodBin=bin/zdroje.bin
TypVypoctu=0
[PrevodSouboru]
TriditPodleAlfa=1
[NovyRefer]
PocBodX=500
PocBodY=800
KrokX=50
KrokY=50
PocetX=25
PocetY=20
HodnotaL=1.5
PocatekRefer=1
VystTxt=body.txt
PripojData=0
INI
mkdir bin

run_cli 0 grid $P
expect_eq "grid message" "Zpráva: Počet zapsaných refer. bodů :500" "$ERR"
expect_eq "grid lines" "500" "$(wc -l < body.txt)"
expect_eq "last point" "500, 1700.000000, 1750.000000, 0.000000, 1.500000" "$(tail -n 1 body.txt)"
run_cli 3 --no grid $P
"$CLI" set $P NovyRefer PripojData 1 && "$CLI" set $P NovyRefer PocetY 2
run_cli 0 grid $P
expect_eq "appended numbering" "550, 1700.000000, 850.000000, 0.000000, 1.500000" "$(tail -n 1 body.txt)"

# 60 sources: points, areas and lines, as the editor writes them (CR LF, header comments)
{
  printf ';Generovaná studie\r\n;SOUBOR S BODY\r\n;Soubor s popisem: popis.txt\r\n'
  for i in $(seq 1 60); do
    printf '%09d, %07d, %07d, %04d, %d, 0, %d ;Zdroj %d\r\n' $i $((600 + i * 10)) $((900 + i * 7)) 0 $(( (i % 3) + 1 )) $((i % 5)) $i
  done
} > zdroje.txt
{
  printf ';Generovaná studie\r\n;SOUBOR S POPISEM (bodů)\r\n'
  for i in $(seq 1 60); do
    case $(( (i % 3) + 1 )) in
      1) printf '%d, 1.5, 40, 5, 150, 1, 10, 0.%02d, 24, 0\r\n' $i $((99 - i)) ;;
      2) printf '%d, 0.5, 5, 0, 2, 0, 0, 0.%02d, 12, 50\r\n' $i $((99 - i)) ;;
      3) printf '%d, 0.002, 600, 900, 700, 950, 10, 2, 0.%02d, 24\r\n' $i $((99 - i)) ;;
    esac
  done
} > popis.txt

run_cli 0 check-points $P
expect_eq "points verdict" "Soubor lze použít pro výpočet." "$(printf '%s\n' "$OUT" | tail -n 1)"
expect_eq "point rows" "550" "$(printf '%s\n' "$OUT" | grep -c $'\tParametry\tOK\tspravne$')"
run_cli 0 check-sources $P
expect_eq "sources verdict" "Soubory lze použít pro výpočet." "$(printf '%s\n' "$OUT" | tail -n 1)"

run_cli 0 --yes convert $P
expect_eq "status lines" "Setříděno, zapsáno 550 ref. bodů.
Setříděno, zapsáno 60 zdrojů (z toho 0 doplněno nulami)." "$OUT"
expect_eq "points file size" "$((8 + 36 * 550))" "$(stat -c %s bin/body.bin)"
expect_eq "sources file size" "$((8 + 114 * 60))" "$(stat -c %s bin/zdroje.bin)"
expect_eq "sources header" "60 13" "$(od -An -t d4 -N 8 bin/zdroje.bin | xargs)"
# sorted by ALFA: the source with the smallest ALFA (number 60, 0.39) comes first
expect_eq "first sorted source" "60" "$(od -An -t d4 -j 8 -N 4 bin/zdroje.bin | xargs)"
[ -f bin/prub_mod.tmp ] || fail "run log beside the binary source file"

# a faulty line makes the check fail (exit 4) and the conversion skip it
cp body.txt body.ok
printf '12,1,2,3;\n' >> body.txt
run_cli 4 check-points $P
case "$OUT" in *"Řádek 551 souboru s referenčními body : zadán nedostatečný počet vstupních parametrů"*) ;;
  *) fail "message for the short line";; esac
run_cli 0 --yes convert $P
expect_eq "skipped line warning" "Upozornění: 1 řádek vstupních souborů nelze přečíst, nebyl převeden (viz bin/prub_mod.tmp)." "$ERR"
cp body.ok body.txt

# dust: a missing dust-groups file stops the run and leaves the previous binary file as it was
"$CLI" set $P Global TypVypoctu 1
{ for i in $(seq 1 60); do printf '%d,2000,1\r\n' $i; done; } > prach.txt
cp bin/zdroje.bin before.bin
run_cli 1 --yes convert $P
expect_eq "missing groups" "Chyba: Vstupní soubor se skupinami prachu nelze otevřít !" "$ERR"
cmp -s before.bin bin/zdroje.bin || fail "binary file changed by a failed run"
printf ';skupiny\r\n1,2,5,0.5,10,0.5;Popílek\r\n' > skupiny.spr
run_cli 0 check-sources $P
run_cli 0 --yes convert $P
expect_eq "dust file size" "$((8 + (126 + 32) * 60))" "$(stat -c %s bin/zdroje.bin)"
[ -f bin/pru_mode.tmp ] || fail "dust run log"

# answers and missing inputs
run_cli 3 --no convert $P
"$CLI" set $P Global VstZdrojPopTxt none.txt
run_cli 1 --yes convert $P
expect_eq "missing description" "Chyba: Vstupní soubor s popisem zdrojů nelze otevřít !" "$ERR"
run_cli 1 check-sources $P
"$CLI" set $P Global VstReferBodTxt none.txt
run_cli 1 check-points $P
expect_eq "missing points" "Chyba: Vstupní soubor s refer. body nelze otevřít !" "$ERR"
finish
