#!/usr/bin/env bash
# The annual mean of changed group emissions from the group shares of the bundled example
# study: factors of 1 keep it, 0 for every group closes it, a doubled group equals a new run
# with that group's emissions doubled; every refusal writes nothing. The maps and GIS
# exports take the group tables like any result table.
. "$(dirname "$0")/lib.sh"

unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
export PYTHONPATH="$OVD_SOURCE_DIR/tests/e2e/data"
cd "$WORK"
example_study
set_keys $P "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KrokVypoctu 2" "VypocetRocni KoncDobyPrek1 1" \
  "VypocetRocni PodilySkupinZdroju 1" "VypocetRocni VystDbfPodily podily.dbf"
run_cli 0 run $P
[ -e podily.dbf ] || fail "the annual run wrote no group shares table"

# compare OUT.dbf ORIGINAL.dbf CHECK: CHECK is a Python expression of o (PUVODNI), u
# (UPRAVENA), d (ROZDIL) and c (the CONC_AVG of the point in ORIGINAL) true for every point.
compare() {
  python3 - "$@" <<'PY'
import sys, dbf_table
fields, rows = dbf_table.read(sys.argv[1])
names = [f[0] for f in fields]
assert names == ["ID", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "PUVODNI", "UPRAVENA", "ROZDIL"], names
assert [f[1:3] for f in fields] == [(10, 0)] + [(15, 6)] * 7, fields
ofields, orows = dbf_table.read(sys.argv[2])
avg = [f[0] for f in ofields].index("CONC_AVG")
assert len(rows) == len(orows) == 1681, (len(rows), len(orows))
bad = 0
for r, q in zip(rows, orows):
    assert r[:5] == q[:5], (r, q)
    o, u, d, c = float(r[5]), float(r[6]), float(r[7]), float(q[avg])
    if not eval(sys.argv[3]):
        bad += 1
        if bad < 4:
            print("point", r[0].strip(), "o", o, "u", u, "d", d, "c", c, file=sys.stderr)
sys.exit(1 if bad else 0)
PY
}

run_cli 0 --yes scale-groups $P --shares podily.dbf --table rocni.dbf --factors "1=1;2=1;GR_000003=1;4=1" \
  --out same.dbf
compare same.dbf rocni.dbf "r[5] == q[avg] and r[6] == r[5] and d == 0" || fail "factors of 1 changed the means"
case "$OUT" in *"Přepočteno bodů: 1681"*) ;; *) fail "summary: $OUT" ;; esac
for text in "Maxima a doby překročení se takto nepřepočítávají" ; do
  case "$OUT$ERR" in *"$text"*) ;; *) fail "summary lacks [$text]: $OUT $ERR" ;; esac
  grep -q "Maxima a doby prekroceni se takto neprepocitavaji" prub_emi.tmp || fail "run log: $(cat prub_emi.tmp)"
done

run_cli 0 --yes scale-groups $P --shares podily.dbf --table rocni.dbf --factors "1=0;2=0;3=0;4=0" --out closed.dbf
compare closed.dbf rocni.dbf "0 <= u <= 1e-6 * o + 5e-7" || fail "closing every group left more than the residue"
compare closed.dbf rocni.dbf "o == 0 or u < o" || fail "closing every group did not lower every mean"

# The boilers (group 2: sources 2 and 3) doubled by the factor, and by a new run.
run_cli 0 --yes scale-groups $P --shares podily.dbf --table rocni.dbf --factors "2=2,0" --out doubled.dbf
cp popis.txt popis.orig
awk -F', ' 'BEGIN { OFS = ", " } $1 == "2" || $1 == "3" { $2 = $2 * 2 } { print }' popis.orig >popis.txt
grep -q '^2, 1.7, 35' popis.txt || fail "the boiler's emission was not doubled: $(grep '^2,' popis.txt)"
set_keys $P "VypocetRocni VystDbf rocni2.dbf" "VypocetRocni PodilySkupinZdroju 0"
run_cli 0 run $P
compare doubled.dbf rocni2.dbf "abs(u - c) <= 3e-6 + 1e-6 * c" || fail "doubled group differs from the new run"
compare doubled.dbf rocni.dbf "u >= o" || fail "doubling a group lowered a mean"
cp popis.orig popis.txt
set_keys $P "VypocetRocni VystDbf rocni.dbf"

# The project's keys stand for the options; the options are not stored.
set_keys $P "ZmenaEmisi VstDbfPodily podily.dbf" "ZmenaEmisi VstDbf rocni.dbf" "ZmenaEmisi Faktory 4=0" \
  "ZmenaEmisi VystDbf klice.dbf"
run_cli 0 --yes scale-groups $P
[ -e klice.dbf ] || fail "the project's keys wrote no table"
run_cli 0 get $P ZmenaEmisi Faktory
expect_eq "factors key" "4=0" "$OUT"

# Tables that do not belong together, made from the real ones.
python3 - <<'PY'
import dbf_table
f, rows = dbf_table.read("podily.dbf")
dbf_table.write("fewer.dbf", f, rows[:-1])
moved = [list(r) for r in rows]
moved[99][1] = "%15.6f" % (float(moved[99][1]) + 1)
dbf_table.write("moved.dbf", f, moved)
# shares of a run in which the eighth point had no annual mean
dbf_table.write("zero.dbf", f, [r[:5] + ["%15.6f" % 0] * (len(r) - 5) if i == 7 else r for i, r in enumerate(rows)])
# the maximum computation's group table: the weather of the maximum, then the same groups
maxf = f[:5] + [("CONC_MAX", 15, 6, 1), ("CLASS_STAB", 4, 0, 1), ("W_VELOCITY", 6, 2, 1), ("W_DIRECT", 7, 2, 1)] + f[5:]
dbf_table.write("podily_max.dbf", maxf, [r[:5] + ["%15.6f" % 1, "%4d" % 3, "%6.2f" % 5, "%7.2f" % 225] + r[5:] for r in rows])
PY

files=$(ls -A)
refused() {  # WHAT EXPECTED_TEXT ARGS...
  local what=$1 text=$2; shift 2
  run_cli 1 --yes scale-groups $P "$@"
  case "$ERR" in *"$text"*) ;; *) fail "$what: expected [$text] in: $ERR" ;; esac
  expect_eq "$what: files" "$files" "$(ls -A)"
}
base=(--table rocni.dbf --factors "2=0" --out nove.dbf)
refused "fewer points" "Soubory rocni.dbf a fewer.dbf nejsou výsledky téže studie: první má 1681 bodů, druhý 1680" \
  "${base[@]}" --shares fewer.dbf
refused "moved point" "100. záznam je v prvním bod 100" "${base[@]}" --shares moved.dbf
refused "shares of another run" "Podíly skupin zdrojů v souboru zero.dbf nepatří k výsledkům v souboru rocni.dbf: bod 8" \
  "${base[@]}" --shares zero.dbf
refused "shares of the maximum" "podíly skupin zdrojů na maximální koncentraci" "${base[@]}" --shares podily_max.dbf
# WHAT | EXPECTED_TEXT | FACTORS | OUT, each with the shares and table of the study
while IFS='|' read -r what text factors out; do
  refused "$what" "$text" --shares podily.dbf --table rocni.dbf --factors "$factors" --out "$out"
done <<'CASES'
unknown group|Skupina 7 není v tabulce podílů skupin zdrojů podily.dbf (jsou v ní skupiny 1, 2, 3, 4)|2=0;7=1|nove.dbf
negative factor|Faktor skupiny 2 "-1" není číslo větší nebo rovné 0|2=-1|nove.dbf
text factor|Faktor skupiny 2 "dvojnásobek" není číslo|2=dvojnásobek|nove.dbf
output on the project|je zadán jako soubor projektu i jako výstupní DBF soubor se změněnými|2=0|study.ovd
output on the profile|je zadán jako uživatelský profil programu i jako výstupní|2=0|profile.ini
output on an input|je zadán jako vstupní DBF soubor s podíly skupin zdrojů i jako výstupní|2=0|podily.dbf
CASES
refused "missing input" "Vstupní DBF soubor s podíly skupin zdrojů neni.dbf nelze otevřít" "${base[@]}" --shares neni.dbf
run_cli 2 scale-groups $P --shares podily.dbf --bogus 1
run_cli 2 scale-groups $P --shares
cp same.dbf same.keep
run_cli 3 --no scale-groups $P --shares podily.dbf --table rocni.dbf --factors "2=0" --out same.dbf
cmp -s same.dbf same.keep || fail "a declined overwrite changed the table"
rm same.keep
expect_eq "files after the refusals" "$files" "$(ls -A)"

# The group tables on the map and in the GIS exports, like any result table.
run_cli 0 --yes map $P --table podily.dbf --column SKUPINA --out skupiny.svg
grep -q "skupina 4" skupiny.svg || fail "map legend of the groups"
count=$(python3 -c 'import sys, xml.etree.ElementTree as E; print(sum(1 for e in E.parse(sys.argv[1]).iter() if e.tag.endswith("circle")))' skupiny.svg 2>&1)
expect_eq "points coloured by group" "1681" "$count"
run_cli 1 --yes map $P --table rocni.dbf --column SKUPINA --out skupiny.png
case "$ERR" in *"neobsahuje podíly skupin zdrojů"*) ;; *) fail "map of a table without groups: $ERR" ;; esac
run_cli 0 --yes map $P --table podily_max.dbf --column GR_000002 --out podily_max.png
for t in doubled podily_max; do
  run_cli 0 set $P DbfExport VstDbf $t.dbf
  run_cli 0 --yes gis-export $P --format csv --out $t.csv
  expect_eq "$t csv rows" "1682" "$(wc -l <$t.csv)"
done
expect_eq "csv header" "X,Y,ID,X_COORD,Y_COORD,Z_ELEV,L_ELEV,PUVODNI,UPRAVENA,ROZDIL" "$(head -n 1 doubled.csv)"
head -n 1 podily_max.csv | grep -q ",CONC_MAX,CLASS_STAB,W_VELOCITY,W_DIRECT,GR_000001,GR_000002,GR_000003,GR_000004$" \
  || fail "maximum shares csv header: $(head -n 1 podily_max.csv)"
run_cli 0 --yes gis-export $P --format gpkg --column GR_000001 --out podily_max.gpkg
case "$(ogrinfo -so podily_max.gpkg body)" in *"GR_000004: Real"*) ;; *) fail "gpkg of the maximum shares" ;; esac
finish
