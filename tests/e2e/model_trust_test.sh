#!/usr/bin/env bash
# The computation tools at their edges, on a small generated study: final status lines,
# the matrix export's output name, decimal commas and unreadable values in settings and
# in the profile, wind rose fields, matrices and results without finite values, and the
# reason a failed run gives in its run log.
. "$(dirname "$0")/lib.sh"
CLI=$(realpath "$CLI")

cd "$WORK"
small_study "13, 1201, 500, 330, 1.5;"
cp "$OVD_SOURCE_DIR/examples/study/ruzice.txt" .
set_keys $P "Global VstRuziceTxt ruzice.txt" "Koeficienty VzdalenostBodu 25" "VypocetRocni VystDbf rocni.dbf" \
  "VypocetRocni KrokVypoctu 2" "VypocetRocni KoncDobyPrek1 0.5" "VypocetDenni VystDbf denni.dbf" \
  "VypocetDenni TridaStability 3" "VypocetDenni SmerVetru 200"
run_cli 0 --yes --quiet convert $P
run_cli 0 --yes --quiet terrain $P

# Final status lines on stderr, as the dialogs show them; none with --quiet.
run_cli 0 --yes coefficients $P
expect_eq "coefficients status" "Výpočet koeficientů dokončen, nalezeny zdroje a ref. body mimo oblast výškopisu." "$ERR"
run_cli 0 --yes --quiet coefficients $P
expect_eq "quiet coefficients" "" "$ERR"
run_cli 0 --yes concentrations $P
expect_eq "concentrations status" "Výpočet proběhl v pořádku, vypočtené hodnoty byly zapsány." "$ERR"
cp rocni.dbf plain.dbf
run_cli 0 run $P
case "$ERR" in *"Výpočet koeficientů dokončen, nalezeny zdroje a ref. body mimo oblast výškopisu."*) ;;
  *) fail "the main road does not show the coefficients' status: $ERR" ;; esac
expect_eq "main road ends with the concentrations' status" "Výpočet proběhl v pořádku, vypočtené hodnoty byly zapsány." \
  "$(echo "$ERR" | tail -n 1)"

# The matrix export names its output after the file it is given, unless --out names it.
run_cli 0 set $P MaticeExport VystTxtMatice theta.txt
run_cli 0 --yes matrix-export $P delta.bin
expect_eq "export status" "Převod proběhl OK. " "$ERR"
[ -s delta.txt ] || fail "delta.bin was not exported to delta.txt"
[ -e theta.txt ] && fail "the Delta values went to theta.txt"
run_cli 0 --yes matrix-export $P zmax.bin --out vyska.txt
[ -s vyska.txt ] && [ ! -e zmax.txt ] || fail "--out does not name the output"
run_cli 0 get $P MaticeExport VystTxtMatice
expect_eq "stored output name" "vyska.txt" "$OUT"

# A decimal comma reads as the decimal it means, in the project and in the profile.
run_cli 0 set $P VypocetRocni KoncDobyPrek3 "12,5"
run_cli 0 --yes --quiet concentrations $P
run_cli 0 dbf-show rocni.dbf
case "$(echo "$OUT" | head -1)" in *T3_12_5000*) ;; *) fail "limit 12,5 not read as 12.5: $(echo "$OUT" | head -1)" ;; esac
run_cli 0 set $P VypocetRocni KoncDobyPrek3 0
printf '[RychlostRuzice]\nRychlost1=1,7\nRychlost2=5,0\n' > "$OVARDIX_PROFILE"
run_cli 0 --yes --quiet concentrations $P
expect_eq "speeds written back as read" "Rychlost1=1.700000|Rychlost2=5.000000" \
  "$(grep -E '^Rychlost[12]=' "$OVARDIX_PROFILE" | paste -sd'|')"
cmp -s <(tail -c +33 rocni.dbf) <(tail -c +33 plain.dbf) || fail "speeds 1,7 and 5,0 compute otherwise than 1.7 and 5.0"
run_cli 0 set $P VypocetDenni RychlostVetru "3,5"
run_cli 0 --yes daily $P
run_cli 0 get $P VypocetDenni RychlostVetru
expect_eq "daily speed written back" "3.500000" "$OUT"
grep -q '^Rychlost vetru            : 3.500000$' denni.vst || fail "daily speed 3,5 not computed as 3.5"

# A value that is not one number is refused, naming its key; nothing is computed or rewritten.
cp rocni.dbf before.dbf
run_cli 0 set $P VypocetRocni KoncDobyPrek2 "12.5x"
run_cli 1 --yes concentrations $P
expect_eq "unreadable limit" "Chyba: Hodnota \"12.5x\" klíče KoncDobyPrek2 v sekci [VypocetRocni] souboru study.ovd není číslo!" "$ERR"
run_cli 0 get $P VypocetRocni KoncDobyPrek2
expect_eq "unreadable value kept" "12.5x" "$OUT"
run_cli 0 set $P VypocetRocni KoncDobyPrek2 0
printf '[RychlostRuzice]\nRychlost3=11 m/s\n' > "$OVARDIX_PROFILE"
run_cli 1 --yes concentrations $P
expect_eq "unreadable speed" "Chyba: Hodnota \"11 m/s\" klíče Rychlost3 v sekci [RychlostRuzice] souboru $OVARDIX_PROFILE není číslo!" "$ERR"
grep -q '^Rychlost3=11 m/s$' "$OVARDIX_PROFILE" || fail "the profile's speed was rewritten"
rm "$OVARDIX_PROFILE"
cmp -s rocni.dbf before.dbf || fail "a refused run changed the table"

# Wind rose fields: not a number, negative, extra text; each named by line and column.
cp ruzice.txt ruzice.keep
for field in abc -5 "0.5 6" nan; do
  sed "3s/^ *[0-9.]*,/$field,/" ruzice.keep > ruzice.txt
  run_cli 1 --yes concentrations $P
  case "$ERR" in "Chyba: Hodnota \"$field\" v řádku 3, sloupci 1 souboru s větrnou růžicí "*) ;;
    *) fail "wind rose field $field: $ERR" ;; esac
done
expect_eq "the run log says why the run stopped" "Výpočet byl zastaven: Hodnota \"nan\" v řádku 3, sloupci 1 souboru s větrnou růžicí není číslo!" \
  "$(tail -n 1 prub_roc.tmp)"
# A wind rose too large for any sum is no rose: a frequency is at most 100 % of the year; the
# map reads it through the same reader and draws without it, at once.
sed '2,12s/[0-9][0-9.]*/1e308/g' ruzice.keep > ruzice.txt
run_cli 1 --yes concentrations $P
case "$ERR" in "Chyba: Hodnota \"1e308\" v řádku 2, sloupci 1 souboru s větrnou růžicí je větší než 100 %"*) ;;
  *) fail "huge wind rose: $ERR" ;; esac
start=$(date +%s)
run_cli 0 --yes map $P --table before.dbf --column CONC_AVG --out huge_rose.png --width 600
case "$ERR" in *"Větrná růžice: Hodnota \"1e308\""*) ;; *) fail "huge wind rose in the map: $ERR" ;; esac
[ $(($(date +%s) - start)) -lt 20 ] || fail "the map took $(($(date +%s) - start)) s over a huge wind rose"
cp ruzice.keep ruzice.txt
cmp -s rocni.dbf before.dbf || fail "a failed run changed the table"
# A successful run's log is as it always was.
run_cli 0 --yes --quiet concentrations $P
expect_eq "run log end" "Hodnoty zapsany do DBF." "$(tail -c 23 prub_roc.tmp)"

# Matrices with values no formula can use.
cp delta.bin delta.keep
printf '\x00\x00\xc0\x7f' | dd of=delta.bin bs=1 seek=16 conv=notrunc status=none
run_cli 1 --yes concentrations $P
expect_eq "NaN in Delta" "Chyba: Vstupní soubor s maticí DELTA (delta.bin) obsahuje v řádku 1, sloupci 3 hodnotu, která není konečné číslo!" "$ERR"
run_cli 1 --yes daily $P
expect_eq "NaN in Delta, daily" "Chyba: Vstupní soubor s maticí DELTA (delta.bin) obsahuje v řádku 1, sloupci 3 hodnotu, která není konečné číslo!" "$ERR"
cp delta.keep delta.bin
cp zmax.bin zmax.keep
printf '\x00\x00\x80\xbf' | dd of=zmax.bin bs=1 seek=12 conv=notrunc status=none
run_cli 1 --yes concentrations $P
expect_eq "negative ZMax" "Chyba: Vstupní soubor s maticí ZMAX (zmax.bin) obsahuje v řádku 1, sloupci 2 zápornou hodnotu -1!" "$ERR"
cp zmax.keep zmax.bin

# An output that is an input of the same run is refused before anything is asked or written.
cp ruzice.txt ruzice.keep
run_cli 0 set $P VypocetRocni VystDbf ruzice.txt
run_cli 1 --yes concentrations $P
expect_eq "result table over the wind rose" "Chyba: Soubor ruzice.txt je zadán jako vstupní soubor s větrnou růžicí i jako výstupní DBF soubor s výsledky.
    Zvolte pro výstup jiný soubor." "$ERR"
cmp -s ruzice.txt ruzice.keep || fail "the wind rose was overwritten"
run_cli 0 set $P VypocetRocni VystDbf rocni.dbf
run_cli 0 set $P VypocetDenni VystDbf theta.vst
run_cli 0 set $P Global VstThetaBin theta.vst
run_cli 1 --yes daily $P
case "$ERR" in "Chyba: Soubor theta.vst je zadán jako vstupní matice THETA i jako výstupní "*) ;; *) fail "daily output over Theta: $ERR" ;; esac
run_cli 0 set $P Global VstThetaBin theta.bin
run_cli 0 set $P VypocetDenni VystDbf denni.dbf
cp delta.bin delta.keep
run_cli 0 set $P MaticeExport VystTxtMatice delta.bin
run_cli 1 --yes matrix-export $P delta.bin --out delta.bin
expect_eq "matrix text over its input" "Chyba: Soubor delta.bin je zadán jako vstupní binární matice i jako výstupní textová matice.
    Zvolte pro výstup jiný soubor." "$ERR"
cmp -s delta.bin delta.keep || fail "the matrix was overwritten by its text"
# No question is asked for a refused output.
run_cli 1 --no matrix-export $P delta.bin --out delta.bin
case "$ERR" in *"již existuje"*) fail "asked before refusing: $ERR" ;; esac

# Clusters and wind rose: devices and lines over 1 MiB are refused.
run_cli 0 set $P Global VstRuziceTxt /dev/zero
run_cli 1 --yes concentrations $P
expect_eq "wind rose on a device" "Chyba: Vstupní soubor s větrnou růžicí nelze otevřít !" "$ERR"
run_cli 0 set $P Global VstRuziceTxt ruzice.txt
{ echo "1,1,10"; head -c 2000000 /dev/zero | tr '\0' 7; echo; } > shluky.txt
run_cli 0 set $P Global BlizkeZdroje 1
run_cli 0 set $P Global VstPopisTxt shluky.txt
run_cli 1 --yes concentrations $P
expect_eq "over-long clusters line" "Chyba: Řádek 2 souboru shluky.txt je delší než 1 MiB." "$ERR"
run_cli 0 set $P Global BlizkeZdroje 0

# A project that cannot be read is not a project without keys.
if [ "$(id -u)" = 0 ]; then unreadable=/proc/self/mem; else cp $P locked.ovd; chmod 000 locked.ovd; unreadable=locked.ovd; fi
run_cli 1 get "$unreadable" Global VstReferBodBin
expect_eq "unreadable project" "Chyba: Soubor projektu $unreadable nelze přečíst." "$ERR"
finish
