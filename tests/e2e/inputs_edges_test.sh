#!/usr/bin/env bash
# The inputs tools at their edges, through ovardix-cli on a copy of the example study:
# outputs that name inputs, unreadable and marked lines, counts and grids the tools cannot
# hold, and files whose encoding and line ends must survive a rewrite.
. "$(dirname "$0")/lib.sh"

cd "$WORK"
cp -r "$OVD_SOURCE_DIR/examples/study/." .
P=study.ovd
BOM=$'\xEF\xBB\xBF'

run_cli 0 --yes convert $P
expect_eq "example converts whole" "Setříděno, zapsáno 7 zdrojů (z toho 0 doplněno nulami)." "$(printf '%s\n' "$OUT" | tail -n 1)"
cp zdroje.bin zdroje.ok

# An output that names an input is refused before anything is asked or written.
cp zdroje.txt zdroje.orig
run_cli 0 set $P Global VstZdrojBodBin zdroje.txt
run_cli 1 --yes convert $P
expect_eq "convert onto its input" "Chyba: Soubor zdroje.txt je zadán jako textový soubor se zdroji i jako binární soubor se zdroji.
    Zvolte pro výstup jiný soubor." "$ERR"
cmp -s zdroje.txt zdroje.orig || fail "the sources text survives"
run_cli 0 set $P Global VstZdrojBodBin zdroje.bin
run_cli 0 set $P DopocetVysky PrepsatSoubor 0
run_cli 0 set $P DopocetVysky VystSouborTxt teren.bin
run_cli 0 --yes terrain $P
cp teren.bin teren.ok
run_cli 1 --yes heights $P
case "$ERR" in *"jako binární matice výškopisu"*) ;; *) fail "heights onto the terrain: $ERR" ;; esac
cmp -s teren.bin teren.ok || fail "the terrain survives"

# One unreadable coordinates line uses up its own description only (the rest keep theirs),
# and a byte-order mark in the coordinates file hides no source.
sed -i '6s/^000000002, -0866200/000000002, abc/' zdroje.txt
run_cli 0 --yes convert $P
expect_eq "unreadable line" "Setříděno, zapsáno 6 zdrojů (z toho 0 doplněno nulami)." "$(printf '%s\n' "$OUT" | tail -n 1)"
{ printf '%s' "$BOM"; cat zdroje.orig; } > zdroje.txt
run_cli 0 --yes convert $P
expect_eq "byte-order mark" "Setříděno, zapsáno 7 zdrojů (z toho 0 doplněno nulami)." "$(printf '%s\n' "$OUT" | tail -n 1)"
cmp -s zdroje.bin zdroje.ok || fail "the marked file converts as the plain one"

# The height fill in place keeps Windows-1250 and CR LF on copied and rewritten lines.
cp zdroje.orig zdroje.txt
run_cli 0 set $P DopocetVysky VstSouradniceTxt zdroje.txt
run_cli 0 set $P DopocetVysky PrepsatSoubor 1
run_cli 0 heights $P
expect_eq "comment lines kept byte for byte" "$(head -n 4 zdroje.orig | od -An -tx1)" "$(head -n 4 zdroje.txt | od -An -tx1)"
expect_eq "every line ends with CR LF" "$(grep -c . zdroje.orig)" "$(grep -c $'\r$' zdroje.txt)"
expect_eq "names stay Windows-1250" "$(grep -a -o ';Kom.n elektr.rny' zdroje.orig | od -An -tx1)" \
  "$(grep -a -o ';Kom.n elektr.rny' zdroje.txt | od -An -tx1)"
[ "$(grep -c '^000000001' zdroje.txt)" = 0 ] || fail "the records got their heights"

# The grid refuses counts beyond 16 bits instead of cutting them.
cp body.txt body.orig
run_cli 0 set $P NovyRefer PocetX 70000
run_cli 0 set $P NovyRefer PocetY 1
run_cli 1 --yes grid $P
expect_eq "grid count" "Chyba: Výsledný počet referenčních bodů souboru nesmí být větší než 30000 !" "$ERR"
cmp -s body.txt body.orig || fail "the points file stays"

# Terrain: a missing file is one message and exit 1; a centre origin becomes the corner.
run_cli 0 set $P Global VstVyskoTxt chybi.txt
run_cli 1 check-terrain $P
expect_eq "missing terrain" "Chyba: Vstupní soubor maticí výškopisu nelze otevřít !" "$ERR"
expect_eq "no verdict" "" "$OUT"
printf 'ncols 2\nnrows 1\nxllcenter 1005\nyllcenter 2005\ncellsize 10\nNODATA_value -1\n1 2\n' > stred.txt
run_cli 0 set $P Global VstVyskoTxt stred.txt
run_cli 0 set $P Global VstVyskoBin stred.bin
run_cli 0 --yes terrain $P
expect_eq "corner origin" "1000 2000" "$(od -An -t f8 -j 10 -N 16 stred.bin | xargs)"
finish
