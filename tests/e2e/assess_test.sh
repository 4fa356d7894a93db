#!/usr/bin/env bash
# The assessment and the comparison of variants on the bundled example study: the background
# from the shipped raster (cell and bilinear), from a raster in another coordinate system
# (against gdaltransform), from a polygon layer and a number; a second run with every emission
# doubled compared with the first; the summary in the run log and in JSON; every refusal
# leaves the folder as it was.
. "$(dirname "$0")/lib.sh"

cd "$WORK"
example_study
set_keys $P "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KrokVypoctu 2"
run_cli 0 run $P

# dbf_column FILE FIELD: the field's text of every record, blanks kept, one a line.
dbf_column() {
  python3 - "$1" "$2" <<'PY'
import struct, sys
d = open(sys.argv[1], "rb").read()
n, hl, rl = struct.unpack("<IHH", d[4:12])
fields, off = [], 1
for i in range(32, hl - 1, 32):
    if d[i] == 0x0D:
        break
    name = d[i:i + 11].split(b"\0")[0].decode()
    fields.append((name, off, d[i + 16]))
    off += d[i + 16]
f = [x for x in fields if x[0] == sys.argv[2]][0]
for r in range(n):
    rec = d[hl + r * rl: hl + (r + 1) * rl]
    print(rec[f[1]:f[1] + f[2]].decode())
PY
}
# dbf_fields FILE: the field names in order, one line.
dbf_fields() {
  python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); import struct; hl=struct.unpack("<H",d[8:10])[0]; print(" ".join(d[i:i+11].split(b"\0")[0].decode() for i in range(32,hl-1,32) if d[i]!=0x0D))' "$1"
}
# value_at FILE FIELD ID: the field's value at the point with that ID, blanks trimmed.
value_at() {
  paste <(dbf_column "$1" ID) <(dbf_column "$1" "$2") | awk -v id="$3" '$1 == id { print $2 }'
}
# The ID of the point at X Y of rocni.dbf.
point_id() {
  paste <(dbf_column rocni.dbf ID) <(dbf_column rocni.dbf X_COORD) <(dbf_column rocni.dbf Y_COORD) |
    awk -v x="$1" -v y="$2" '$2 + 0 == x && $3 + 0 == y { print $1 }'
}

# --- background from the shipped raster of 1 km cells ---------------------------------------
run_cli 0 --yes assess $P --table rocni.dbf --background pozadi_no2.asc --pollutant NO2 --out hodnoceni.dbf
expect_eq "fields" "ID X_COORD Y_COORD Z_ELEV L_ELEV PRISPEVEK POZADI CELKEM LIMIT PODIL_LIM PODIL_PRI PREKROC" \
  "$(dbf_fields hodnoceni.dbf)"
# (-866500, -1012500) lies in column 1, row 3 of the grid (north row 0): 17.6.
id=$(point_id -866500 -1012500)
expect_eq "cell value" "17.600000" "$(value_at hodnoceni.dbf POZADI "$id")"
expect_eq "limit" "40.000000" "$(value_at hodnoceni.dbf LIMIT "$id")"
conc=$(value_at rocni.dbf CONC_AVG "$id")
expect_eq "contribution" "$conc" "$(value_at hodnoceni.dbf PRISPEVEK "$id")"
expect_eq "total" "$(awk -v c="$conc" 'BEGIN { printf "%.6f", c + 17.6 }')" "$(value_at hodnoceni.dbf CELKEM "$id")"
expect_eq "share" "$(awk -v c="$conc" 'BEGIN { printf "%.6f", 100 * (c + 17.6) / 40 }')" \
  "$(value_at hodnoceni.dbf PODIL_LIM "$id")"
case "$OUT" in *"Posouzeno bodů: 1681"*"Celková koncentrace překračuje limit v 0 bodech, na ploše 0.00 km²"*) ;;
  *) fail "summary: $OUT" ;; esac
[ -f hodnoceni.vst ] || fail "no run log beside the table"
grep -q "Posouzeno bodů: 1681" hodnoceni.vst || fail "summary in the run log"
grep -q "201/2012 Sb." hodnoceni.vst || fail "legal reference in the run log"
# Bilinear: (-866000, -1012000) lies on the corner of four cell centres' square.
id=$(point_id -866000 -1012000)
run_cli 0 --yes assess $P --table rocni.dbf --background pozadi_no2.asc --bilinear --limit 40 --out bilin.dbf
expect_eq "bilinear" "18.125000" "$(value_at bilin.dbf POZADI "$id")"

# --- a raster in UTM 33N whose values are a plane in its own coordinates ------------------------
read -r ux uy _ <<<"$(echo "-865000 -1012000" | gdaltransform -s_srs EPSG:5514 -t_srs EPSG:32633)"
x0=$(awk -v v="$ux" 'BEGIN { printf "%d", int(v / 1000) * 1000 - 6000 }')
y0=$(awk -v v="$uy" 'BEGIN { printf "%d", int(v / 1000) * 1000 - 6000 }')
{
  printf 'ncols 12\nnrows 12\nxllcorner %s\nyllcorner %s\ncellsize 1000\nNODATA_value -9999\n' "$x0" "$y0"
  awk 'BEGIN { for (r = 11; r >= 0; r--) { line = ""; for (c = 0; c < 12; c++) line = line sprintf("%.6f ", 10 + 0.001 * (c * 1000 + 500) + 0.0005 * (r * 1000 + 500)); print line } }'
} >utm.asc
gdal_translate -q -ot Float64 -a_srs EPSG:32633 utm.asc utm.tif || fail "gdal_translate"
run_cli 0 --yes assess $P --table rocni.dbf --background utm.tif --bilinear --limit 40 --out utm.dbf
# (gdaltransform splits its input at blanks only)
paste -d ' ' <(dbf_column rocni.dbf X_COORD) <(dbf_column rocni.dbf Y_COORD) |
  gdaltransform -s_srs EPSG:5514 -t_srs EPSG:32633 >utm_points.txt
worst=$(paste utm_points.txt <(dbf_column utm.dbf POZADI) | awk -v x0="$x0" -v y0="$y0" '
  { want = 10 + 0.001 * ($1 - x0) + 0.0005 * ($2 - y0); d = $4 - want; if (d < 0) d = -d; if (d > m) m = d }
  END { printf "%.9f", m }')
awk -v w="$worst" 'BEGIN { exit !(w <= 1e-6) }' || fail "transformed raster differs from GDAL's transformation by $worst"
expect_eq "points sampled" 1681 "$(wc -l <utm_points.txt | tr -d ' ')"

# --- a polygon layer of 1 km squares and one number -------------------------------------------
# Two squares of 3 x 6 km, the western 21, the eastern 23.5; and the western alone.
square() {  # square WEST VALUE
  printf '{"type": "Feature", "properties": {"PM10": %s}, "geometry": {"type": "Polygon", "coordinates": [[[%s, -1015000], [%s, -1015000], [%s, -1009000], [%s, -1009000], [%s, -1015000]]]}}' \
    "$2" "$1" $(($1 + 3000)) $(($1 + 3000)) "$1" "$1"
}
layer() {
  printf '{"type": "FeatureCollection", "crs": {"type": "name", "properties": {"name": "urn:ogc:def:crs:EPSG::5514"}}, "features": [%s]}\n' "$1"
}
layer "$(square -868000 21), $(square -865000 23.5)" >ctverce.geojson
layer "$(square -868000 21)" >zapad.geojson
run_cli 0 --yes assess $P --table rocni.dbf --background ctverce.geojson --background-column PM10 --pollutant PM10 \
  --out ctverce.dbf
expect_eq "west square" "21.000000" "$(value_at ctverce.dbf POZADI "$(point_id -866500 -1012500)")"
expect_eq "east square" "23.500000" "$(value_at ctverce.dbf POZADI "$(point_id -864500 -1012500)")"
expect_eq "shared border: the first square" "21.000000" "$(value_at ctverce.dbf POZADI "$(point_id -865000 -1012500)")"
# One number, a limit that every total exceeds, and the summary as JSON.
OUT=$("$CLI" --yes --json assess $P --table rocni.dbf --background 12.5 --limit 12 --out cislo.dbf 2>/dev/null)
case "$OUT" in *'"status":"done"'*"Posouzeno bodů: 1681"*"překračuje limit v 1681 bodech, na ploše 16.81 km²"*) ;;
  *) fail "json summary: $OUT" ;; esac
expect_eq "number" "12.500000" "$(value_at cislo.dbf POZADI 1)"

# --- the same study with every emission doubled ----------------------------------------------
awk -F', ' 'BEGIN { OFS = ", " } /^[0-9]/ { $2 = $2 * 2 } { print }' popis.txt >popis2.txt
set_keys $P "Global VstZdrojPopTxt popis2.txt" "VypocetRocni VystDbf rocni2.dbf"
run_cli 0 --yes run $P
run_cli 0 --yes compare $P --base rocni.dbf --variant rocni2.dbf --out rozdil.dbf
expect_eq "compare fields" "ID X_COORD Y_COORD Z_ELEV L_ELEV ZAKLAD VARIANTA ROZDIL ZMENA_PROC" "$(dbf_fields rozdil.dbf)"
worst=$(paste <(dbf_column rozdil.dbf ZAKLAD) <(dbf_column rozdil.dbf ROZDIL) |
  awk '{ d = $2 - $1; if (d < 0) d = -d; if (d > m) m = d } END { printf "%.9f", m }')
awk -v w="$worst" 'BEGIN { exit !(w <= 2e-6) }' || fail "ROZDIL differs from ZAKLAD by $worst"
case "$OUT" in *"Porovnáno bodů: 1681"*"Největší nárůst: "*"Největší pokles: žádný bod neklesl"*) ;;
  *) fail "compare summary: $OUT" ;; esac
grep -q "Porovnáno bodů: 1681" rozdil.vst || fail "compare run log"

# --- refusals: a Czech message naming the file, nothing written --------------------------------
set_keys $P "Global VstZdrojPopTxt popis.txt"
printf 'not a dbf' >text.dbf
# rocni.dbf with the fifth point moved by a metre
python3 - <<'PY'
import struct
d = bytearray(open("rocni.dbf", "rb").read())
hl, rl = struct.unpack("<HH", d[8:12])
at = hl + 4 * rl + 1 + 10  # after the record flag and the ID: X_COORD
x = float(d[at:at + 15]) + 1
d[at:at + 15] = ("%15.6f" % x).encode()
open("jiny.dbf", "wb").write(d)
PY
files=$(ls -A)
expect_error() {  # expect_error STATUS TEXT ARGS...
  local want=$1 text=$2; shift 2
  run_cli "$want" --yes "$@"
  case "$ERR" in *"$text"*) ;; *) fail "$* : expected [$text] in: $ERR" ;; esac
}
expect_error 1 "je zadán jako soubor projektu i jako výstupní DBF soubor" assess $P --table rocni.dbf --background 1 \
  --limit 40 --out $P
expect_error 1 "je zadán jako soubor profilu i jako výstupní DBF soubor" assess $P --table rocni.dbf --background 1 \
  --limit 40 --out "$OVARDIX_PROFILE"
expect_error 1 "je zadán jako vstupní DBF soubor i jako výstupní DBF soubor" assess $P --table rocni.dbf \
  --background 1 --limit 40 --out rocni.dbf
expect_error 1 "je zadán jako soubor pozadí i jako výstupní DBF soubor" assess $P --table rocni.dbf \
  --background utm.tif --limit 40 --out utm.tif
expect_error 1 "je zadán jako DBF soubor základní varianty i jako výstupní DBF soubor" compare $P --base rocni.dbf \
  --variant rocni2.dbf --out rocni.dbf
expect_error 1 "Látka oxidy_dusíku není v tabulce imisních limitů" assess $P --table rocni.dbf --background 1 \
  --pollutant oxidy_dusíku --out x.dbf
expect_error 1 "Látka CO nemá v tabulce imisních limitů" assess $P --table rocni.dbf --background 1 --pollutant CO \
  --out x.dbf
expect_error 1 "Soubor text.dbf nelze použít jako pozadí" assess $P --table rocni.dbf --background text.dbf \
  --limit 40 --out x.dbf
expect_error 1 "text.dbf" assess $P --table text.dbf --background 1 --limit 40 --out x.dbf
expect_error 1 "není tabulkou výsledků" assess $P --table zdroje.dbf --background 1 --limit 40 --out x.dbf
expect_error 1 "nemá sloupec NENI" assess $P --table rocni.dbf --column NENI --background 1 --limit 40 --out x.dbf
expect_error 1 "Takových bodů je 820 z 1681" assess $P --table rocni.dbf --background zapad.geojson \
  --background-column PM10 --limit 40 --out x.dbf
expect_error 2 "volba --fill potřebuje číslo" assess $P --table rocni.dbf --fill x --out x.dbf
expect_error 2 "neznámá volba --colour příkazu assess" assess $P --table rocni.dbf --colour x
expect_error 2 "neznámá volba --bilinear příkazu compare" compare $P --base rocni.dbf --bilinear
expect_error 1 "nemají stejné body: 5. záznam" compare $P --base rocni.dbf --variant jiny.dbf --out x.dbf
run_cli 0 set $P Global SouradnicovySystem ""
expect_error 1 "má vlastní souřadnicový systém a studie žádný nemá" assess $P --table rocni.dbf \
  --background pozadi_no2.asc --limit 40 --out x.dbf
expect_eq "files after the refusals" "$files" "$(ls -A)"
finish
