#!/usr/bin/env bash
# The study report of the example study read back: the ODT with python3-odf, the PDF with
# pdftotext. Chapters, the source table against the source files, the highest value against
# the result table, the checksums against sha256sum; the refusal of a table whose input
# changed and none after the folder was copied; two runs alike but for the date; refusals
# that leave the previous report as it was.
. "$(dirname "$0")/lib.sh"

unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
HERE=$(cd "$(dirname "$0")" && pwd)
# The python that reads ODT: the system's, where python3-odf is installed (scripts/install-deps.sh).
PY=python3
python3 -c 'import odf' 2>/dev/null || PY=/usr/bin/python3
$PY -c 'import odf' || { echo "python3-odf is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
READ="$PY $HERE/report_read.py"
cd "$WORK"
mkdir study && cd study
example_study
set_keys $P "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KoncDobyPrek1 1" "VypocetRocni KoncDobyPrek2 20"
run_cli 0 --yes run $P
run_cli 0 --yes daily $P
# the assessment's settings in the project, so that the report finds its table by them
set_keys $P "Hodnoceni VstDbf rocni.dbf" "Hodnoceni Pozadi pozadi_no2.asc" "Hodnoceni Interpolace 1" \
  "Hodnoceni Latka NO2"
run_cli 0 --yes assess $P

# The project signs each table with the content of the files it read.
grep -q '^rocni.dbf=.*ruzice.txt|[0-9a-f]\{16\}' $P || fail "annual table not signed: $(grep -A30 Podpisy $P)"
grep -q '^rocni_hodnoceni.dbf=.*rocni.dbf|' $P || fail "assessment not signed with its table"

run_cli 0 --yes report $P --out zprava.odt
case "$ERR" in *"Zpráva o studii zapsána do souboru zprava.odt"*) ;; *) fail "final status: $ERR" ;; esac
run_cli 0 --yes report $P --out zprava.pdf
$READ text zprava.odt >text.txt || fail "the ODT does not read back"
$READ tables zprava.odt >tables.txt
pdftotext zprava.pdf pdf.txt || fail "pdftotext"
for chapter in "1 Studie" "2 Zdroje znečištění" "3 Referenční body" "4 Výškopis" "5 Větrná růžice" \
  "6 Nastavení výpočtů" "7 Výsledky" "8 Hodnocení, porovnání variant a podíly skupin" "9 Příloha: soubory studie"; do
  grep -qx "$chapter" text.txt || fail "ODT lacks chapter $chapter"
  grep -q "^${chapter:0:20}" pdf.txt || fail "PDF lacks chapter $chapter"
done
grep -q "pravidelná síť 41 × 41 bodů s krokem 100 m × 100 m" text.txt || fail "points lattice"

# The sources' rows: number, group, coordinates and emission as the text files hold them.
python3 - zdroje.txt popis.txt tables.txt <<'PY' || fail "source tables differ from the source files"
import sys
coords = {}
for line in open(sys.argv[1], encoding='cp1250'):
    f = line.split(';')[0].split(',')
    if f[0].strip().isdigit() and int(f[0]) > 0:
        coords[int(f[0])] = (float(f[1]), float(f[2]), int(f[4]), int(f[6]))
values = {}
for line in open(sys.argv[2], encoding='cp1250'):
    f = line.split(';')[0].split(',')
    if f[0].strip().isdigit() and int(f[0]) > 0:
        values[int(f[0])] = [float(v) for v in f[1:]]
num = lambda t: float(t.replace(',', '.'))
seen = {}
for block in open(sys.argv[3], encoding='utf-8').read().split('\n\n'):
    rows = [r.split('\t') for r in block.strip('\n').split('\n') if r]
    if not rows or rows[0][:2] != ['Číslo', 'Skupina']:
        continue
    line = rows[0][2].startswith('ML')
    for r in rows[1:]:
        n = int(r[0])
        seen[n] = True
        x, y, kind, group = coords[n]
        assert int(r[1]) == group, (n, 'group')
        if line:
            assert kind == 3 and num(r[2]) == values[n][0], (n, r)
        else:
            assert kind in (1, 2) and (num(r[2]), num(r[3])) == (x, y), (n, r)
            assert num(r[5]) == values[n][0], (n, 'emission', r)
assert sorted(seen) == sorted(coords), (sorted(seen), sorted(coords))
PY

# The highest annual mean and its point as the table has them, in both formats.
read -r best value <<<"$($READ dbfmax rocni.dbf CONC_AVG)"
python3 - "$value" "$best" text.txt tables.txt pdf.txt <<'PY' || fail "highest value or its point differs from rocni.dbf"
import sys
value, best = float(sys.argv[1]), sys.argv[2]
blocks = open(sys.argv[4], encoding='utf-8').read().split('\n\n')
stats = [b for b in blocks if 'Nejvyšší hodnota' in b and 'CONC_AVG [' in b]
assert stats, 'no statistics of CONC_AVG'
cells = dict(r.split('\t')[:2] for r in stats[0].split('\n') if '\t' in r)
assert float(cells['Nejvyšší hodnota'].replace(',', '.')) == value, cells
assert cells['Bod nejvyšší hodnoty'] == best, cells
pdf = open(sys.argv[5], encoding='utf-8').read()
assert cells['Nejvyšší hodnota'] in pdf, 'PDF lacks the value'
PY

# The annex's checksums are those of sha256sum, for every file it lists.
listed=$(awk -F'\t' 'NF == 4 && length($4) == 64 && $4 ~ /^[0-9a-f]+$/ { print $4 "  " $1 }' tables.txt)
[ "$(echo "$listed" | wc -l)" -ge 15 ] || fail "annex lists too few files: $listed"
echo "$listed" | sha256sum --quiet -c - || fail "annex checksums differ from sha256sum"
echo "$listed" | grep -q "  rocni.dbf$" || fail "annex lacks the result table"

# Two runs: the same text but for the creation line (ODT content, HTML, PDF text).
run_cli 0 --yes report $P --out again.odt
run_cli 0 --yes report $P --out a.html
run_cli 0 --yes report $P --out b.html
[ -f a_obrazky/obrazek_01.png ] || fail "HTML pictures beside it"
strip_date() { grep -v 'Vytvořeno [0-9]'; }
cmp -s <(unzip -p zprava.odt content.xml | sed 's/Vytvořeno [^<]*//') \
  <(unzip -p again.odt content.xml | sed 's/Vytvořeno [^<]*//') || fail "two ODT runs differ"
cmp -s <(sed 's/b_obrazky/a_obrazky/' b.html | strip_date) <(strip_date <a.html) || fail "two HTML runs differ"
run_cli 0 --yes report $P --out again.pdf
cmp -s <(pdftotext again.pdf - | strip_date) <(strip_date <pdf.txt) || fail "two PDF texts differ"

# A copied study folder keeps its tables current.
cp -r . ../copy
(cd ../copy && run_cli 0 --yes report $P --out kopie.pdf)
[ -f ../copy/kopie.pdf ] || fail "no report in the copied folder"

# The wind rose's content changed: the annual table is refused, named with the input;
# --allow-stale marks it. The previous report stays.
cp zprava.pdf before.pdf
sed -i '2s/0.56/0.57/' ruzice.txt
run_cli 1 --yes report $P --out zprava.pdf
case "$ERR" in *"Vstupy tabulky rocni.dbf se od výpočtu změnily (ruzice.txt)"*) ;; *) fail "stale refusal: $ERR" ;; esac
cmp -s zprava.pdf before.pdf || fail "a refused report changed the previous one"
run_cli 0 --yes report $P --out stale.odt --allow-stale
$READ text stale.odt >stale.txt
grep -q "^NEAKTUÁLNÍ: Vstupy tabulky rocni.dbf" stale.txt || fail "stale table not marked"
# the assessment read the annual table: stale through it
grep -q "NEAKTUÁLNÍ: Vstupy tabulky rocni_hodnoceni.dbf se od výpočtu změnily (ruzice.txt)" stale.txt ||
  fail "assessment not stale through its table"
sed -i '2s/0.57/0.56/' ruzice.txt

# Bad input and refusals, as every tool.
run_cli 1 --yes report $P --table neni.dbf --out x.pdf
case "$ERR" in *"Tabulka výsledků neni.dbf neexistuje"*) ;; *) fail "missing table: $ERR" ;; esac
printf 'not a table' >vadna.dbf
run_cli 1 --yes report $P --table vadna.dbf --out x.pdf
run_cli 2 report $P --out zprava.txt
run_cli 2 report $P --out $P
run_cli 1 --yes --profile prof.pdf report $P --out prof.pdf
run_cli 0 set $P Mapa VstRastr podklad.pdf
: >podklad.pdf
run_cli 1 --yes report $P --out podklad.pdf
case "$ERR" in *"Mapa"*"VstRastr"*) ;; *) fail "output naming an input: $ERR" ;; esac
run_cli 0 set $P Mapa VstRastr ""
run_cli 3 --no report $P --out zprava.pdf
cmp -s zprava.pdf before.pdf || fail "declined overwrite changed the report"
[ ! -e x.pdf ] || fail "a failed report left x.pdf"
ls .*.tmp* 2>/dev/null | grep -q . && fail "temporary files left: $(ls -a)"
finish
