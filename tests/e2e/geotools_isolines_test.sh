#!/usr/bin/env bash
# Isolines of a result table through ovardix-cli, the outputs opened by ogrinfo.
. "$(dirname "$0")/lib.sh"

MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
P="$WORK/p.ovd"
cd "$WORK"

$MAKE rocni.dbf 12
for kv in "VstDbf rocni.dbf" "VystShp rocni_izolinie.shp" "VystShx rocni_izolinie.shx" "VystDbf rocni_izolinie.dbf" \
          "PozSeznamSloupcu 5" "PozPocOkolBodu 2" "PocetUsekuNaStrane 30" "SkalaOd 1" "SkalaKrok 2"; do
  run_cli 0 set "$P" Izolinie $kv
done
run_cli 0 isolines "$P"
expect_eq "isolines message" "Zpráva: Vytváření izolinií dokončeno." "$ERR"
segments=$(od -An -tu4 -j4 -N4 rocni_izolinie.dbf | tr -d ' ')
[ "$segments" -gt 0 ] || fail "no segment traced"
expect_eq "table size, no end-of-file byte" $((97 + 26 * segments)) "$(stat -c %s rocni_izolinie.dbf)"
expect_eq "first level" "          1       1.000000" "$(tail -c +98 rocni_izolinie.dbf | head -c 26)"

if ! command -v ogrinfo >/dev/null; then
  fail "ogrinfo is missing (scripts/install-deps.sh installs gdal-bin)"
else
  info=$(ogrinfo -ro -al -so rocni_izolinie.shp 2>&1)
  for want in "Geometry: Line String" "Feature Count: $segments" "ID_LINE: Integer" "VALUE: Real (15.6)"; do
    case "$info" in *"$want"*) ;; *) fail "ogrinfo of the isolines lacks [$want]: $(echo "$info" | head -n 3)" ;; esac
  done
  # The header carries the box of the input points; each segment lies inside it.
  case "$info" in *"Extent: (-745000.000000, -1043000.000000) - (-743900.000000, -1041900.000000)"*) ;;
    *) fail "isoline extent: $(echo "$info" | grep Extent)" ;; esac
  levels=$(ogrinfo -ro -al rocni_izolinie.shp 2>/dev/null | sed -n 's/^ *VALUE (Real) = //p' | sort -u | tr '\n' ' ')
  expect_eq "levels traced" "1.000000 3.000000 5.000000 7.000000 9.000000 " "$levels"
fi

# Nominal levels that no vertex reaches: valid empty files and a message saying so.
run_cli 0 set "$P" Izolinie TypIzolinie 1
run_cli 0 set "$P" Izolinie SeznamJmenHodnot "100.000000;200.000000"
run_cli 0 --yes isolines "$P"
case "$ERR" in *"Žádná izolinie nevznikla"*) ;; *) fail "empty result not reported: $ERR" ;; esac
expect_eq "empty shp" 100 "$(stat -c %s rocni_izolinie.shp)"
if command -v ogrinfo >/dev/null; then
  case "$(ogrinfo -ro -al -so rocni_izolinie.shp 2>&1)" in *"Feature Count: 0"*) ;; *) fail "empty isolines do not open" ;; esac
fi

# Refusals: a zero step, more neighbours than points, a wrong column; outputs kept.
run_cli 0 set "$P" Izolinie TypIzolinie 0
run_cli 0 set "$P" Izolinie SkalaKrok 0
run_cli 1 --yes isolines "$P"
expect_eq "zero step" "Chyba !: Krok stupnice izolinií musí být větší než 0!" "$ERR"
run_cli 0 set "$P" Izolinie SkalaKrok 0.000001
run_cli 1 --yes isolines "$P"
case "$ERR" in *"nejvýše lze 10000"*) ;; *) fail "too many levels: $ERR" ;; esac
run_cli 0 set "$P" Izolinie SkalaKrok 2
$MAKE small.dbf 3
run_cli 0 set "$P" Izolinie VstDbf small.dbf
run_cli 0 set "$P" Izolinie PozPocOkolBodu 6
run_cli 1 --yes isolines "$P"
expect_eq "k above the point count" "Chyba: Počet okolních bodů pro dopočet hodnot vrcholů trojúhelníků je větší než celkový počet referenčních bodů." "$ERR"
run_cli 0 set "$P" Izolinie VstDbf rocni.dbf
run_cli 0 set "$P" Izolinie PozSeznamSloupcu 2
run_cli 1 --yes isolines "$P"
expect_eq "coordinate column" "Chyba: Nebyl vybrán sloupec s hodnotami, které je možné zobrazit jako izolinie." "$ERR"
expect_eq "outputs of the last good run kept" 100 "$(stat -c %s rocni_izolinie.shp)"
run_cli 3 --no isolines "$P"
finish
