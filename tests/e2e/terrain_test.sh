#!/usr/bin/env bash
# Terrain grid conversion and check, height fill and coordinate recomputation through ovardix-cli.
. "$(dirname "$0")/lib.sh"

P="$WORK/p.ovd"
cd "$WORK"
printf 'ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 100\nNODATA_value -9999\n10 20 30\n40 50 60\n' > grid.txt
run_cli 0 set "$P" Global VstVyskoTxt grid.txt
run_cli 0 set "$P" Global VstVyskoBin grid.bin
run_cli 0 set "$P" PrevodVyskopisu TypZapisu 1
run_cli 0 check-terrain "$P"
expect_eq "check of a good grid" "Načteno 2 řádků s 3 sloupci, matice vyhovuje." "$OUT"
run_cli 0 terrain "$P"
expect_eq "terrain status" "Zapsáno 2 řádků s 3 sloupci" "$OUT"
expect_eq "terrain bytes" \
  "01 00 03 00 00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 59 40 f1 d8 ff ff 0a 00 00 00 14 00 00 00 1e 00 00 00 28 00 00 00 32 00 00 00 3c 00 00 00" \
  "$(od -An -tx1 -v grid.bin | tr -s ' \n' ' ' | sed 's/^ //; s/ $//')"
expect_eq "run log" \
  "$(printf 'Poc. souradnice X : 0.000000 \n\rPoc. souradnice Y : 0.000000 \n\rVelikost bunky    : 100.000000 \n\rNulova hodnota  : -9999 \n\n\r' | od -An -tx1)" \
  "$(od -An -tx1 prub_vys.tmp)"

run_cli 3 --no terrain "$P"
printf 'ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 100\nNODATA_value -9999\n10 20\n40 50 60\n' > bad.txt
run_cli 0 set "$P" Global VstVyskoTxt bad.txt
run_cli 4 check-terrain "$P"
expect_eq "check of a short row" "Načteno 2 řádků s 3 sloupci, chybný počet sloupců některých řádků !" "$OUT"
run_cli 1 --yes terrain "$P"
expect_eq "bad grid" "Chyba: Vstupní TXT soubor obsahuje špatné údaje !" "$ERR"
[ "$(stat -c %s grid.bin)" = 62 ] || fail "the previous matrix stays after a failed run"
[ -z "$(ls | grep ovdtmp)" ] || fail "no temporary file is left behind"

# Heights of a reference-point file, written to a separate file and then in place.
printf ';SOUBOR S BODY\n1,50,50,0,1.5;\n2,250,150,0,2;\n3,900,50,0,1;\n' > body.txt
run_cli 0 set "$P" DopocetVysky VstSouradniceTxt body.txt
run_cli 0 set "$P" DopocetVysky VystSouborTxt vyska.txt
run_cli 0 heights "$P"
expect_eq "heights status" "Zpracováno 3 řádků, z toho 1 mimo oblast" "$OUT"
expect_eq "heights output" "$(printf ';SOUBOR S BODY\n1, 50.000000, 50.000000, 40, 1.5;\n2, 250.000000, 150.000000, 30, 2;')" "$(cat vyska.txt)"
run_cli 0 set "$P" DopocetVysky PrepsatSoubor 1
run_cli 0 heights "$P"
expect_eq "heights in place" "$(printf ';SOUBOR S BODY\n1, 50.000000, 50.000000, 40, 1.5;\n2, 250.000000, 150.000000, 30, 2;\n3,900,50,0,1;')" "$(cat body.txt)"
run_cli 0 set "$P" Global VstVyskoBin missing.bin
run_cli 1 heights "$P"
expect_eq "missing terrain" "Chyba: Vstupní soubor s výškopisem nelze otevřít !" "$ERR"

# Conversion table and recomputation of the coordinates.
printf '0, 0, 1000, 5000\n100, 0, 1100, 5000\n0, 100, 1000, 5100\n100, 100, 1100, 5100\n' > tab.txt
run_cli 0 set "$P" PrevodTxtSouradnic VstTxtPrevod tab.txt
run_cli 0 set "$P" PrevodTxtSouradnic VystBinPrevod tab.bin
run_cli 0 coords-table "$P"
expect_eq "table message" "Zpráva: Převod dokončen, převedeno 4 řádku." "$ERR"
[ "$(stat -c %s tab.bin)" = 138 ] || fail "table size"
run_cli 0 set "$P" PrepocetSouradnic VstSourad body.txt
run_cli 0 set "$P" PrepocetSouradnic VystSourad body2.txt
run_cli 0 set "$P" PrepocetSouradnic VstBinSourad tab.bin
run_cli 0 coords "$P"
expect_eq "recomputed" "$(printf ';SOUBOR S BODY\n1, 1050.000000, 5050.000000, 40, 1.5;')" "$(cat body2.txt)"
expect_eq "recompute message" "Zpráva: Převod dokončen, převedeno 3 řádků, z toho 2 mimo oblast." "$ERR"
finish
