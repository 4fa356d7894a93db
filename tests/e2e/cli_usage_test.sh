#!/usr/bin/env bash
# Usage errors of every command: an unknown option and every option without its value exit 2
# with one line saying what is wrong (and where the help is); the command's --help lists its
# options; a positional value may begin with "-".
. "$(dirname "$0")/lib.sh"
cd "$WORK"
run_cli 0 set study.ovd Global TypVypoctu 0
P=study.ovd

# usage_line WHAT: stderr is one "ovardix-cli: ..." line and the help pointer, stdout empty.
usage_line() {
  local n
  n=$(printf '%s\n' "$ERR" | grep -c '^ovardix-cli: ')
  [ "$n" = 1 ] || fail "$1: $n usage lines: $ERR"
  [ "$(printf '%s\n' "$ERR" | wc -l)" = 2 ] || fail "$1: more than the usage line and the help pointer: $ERR"
  case "$ERR" in *"Nápověda: ovardix-cli"*"--help") ;; *) fail "$1: no help pointer: $ERR" ;; esac
  [ -z "$OUT" ] || fail "$1: printed on stdout: $OUT"
}

commands=$("$CLI" --help | sed -n '/^Příkazy:/,/^$/p' | awk 'NR > 1 && NF { print $1 }')
[ "$(echo "$commands" | wc -w)" -ge 24 ] || fail "commands listed: $commands"
for c in $commands; do
  run_cli 2 "$c" $P --no-such-option
  usage_line "$c unknown option"
  case "$ERR" in "ovardix-cli: neznámá volba --no-such-option příkazu $c"*) ;; *) fail "$c: $ERR" ;; esac
  run_cli 0 "$c" --help
  case "$OUT" in "Použití: ovardix-cli [VOLBY] $c"*) ;; *) fail "$c --help: $OUT" ;; esac
  # Every option that takes a value, given last without it.
  for o in $(printf '%s\n' "$OUT" | awk '$1 ~ /^--/ && $2 ~ /^[^a-z]/ { print $1 }'); do
    run_cli 2 "$c" $P "$o"
    usage_line "$c $o without a value"
    case "$ERR" in "ovardix-cli: volba $o potřebuje hodnotu "*) ;; *) fail "$c $o: $ERR" ;; esac
  done
done

# The help of map lists its options, and --help is not taken for the project's path.
run_cli 0 map --help
for o in --table --column --levels --out --width; do
  case "$OUT" in *"  $o "*) ;; *) fail "map --help does not list $o: $OUT" ;; esac
done
[ ! -e ./--help ] || fail "map --help created a file"

# Wrong kinds and unknown formats are usage errors too.
run_cli 2 tile $P --width x
usage_line "tile --width x"
run_cli 2 tile $P --points many
run_cli 2 map $P --out x.png --width 99
run_cli 2 map $P --out mapa.jpg
usage_line "map to an unknown format"
run_cli 2 gis-export $P --format shp
expect_eq "unknown format" "ovardix-cli: volba --format nezná hodnotu shp (platí gpkg, geojson, kml, csv, tif)" \
  "$(printf '%s\n' "$ERR" | head -n 1)"
run_cli 2 gis-export $P --format geojson --out vysledky.kml
usage_line "extension against --format"
run_cli 2 gis-export $P --format gpkg --levels "1;2"
usage_line "levels without a column"
run_cli 2 get $P Global
run_cli 2 get $P Global TypVypoctu navic
run_cli 2 matrix-show
run_cli 2 frobnicate $P
usage_line "unknown command"

# --json: a usage error is one JSON object on stdout as well.
"$CLI" --json map $P --out >json.out 2>/dev/null; rc=$?
expect_eq "json usage exit" 2 "$rc"
python3 - <<'PY' || fail "usage error as JSON: $(cat json.out)"
import json
lines = open("json.out", encoding="utf-8").read().splitlines()
assert len(lines) == 1, lines
r = json.loads(lines[0])
assert r["status"] == "usage", r
assert [m["text"] for m in r["messages"]] == ["volba --out potřebuje hodnotu SOUBOR.png|svg|pdf"], r
PY
"$CLI" --json --profile >json.out 2>/dev/null; rc=$?
expect_eq "json global usage exit" 2 "$rc"
python3 -c 'import json,sys; r = json.load(open("json.out")); sys.exit(r["status"] != "usage")' \
  || fail "global usage error as JSON: $(cat json.out)"

# A value that begins with "-" is a value, and "--" ends the options.
run_cli 0 set $P VypocetRocni OtoceniRuzice -10
run_cli 0 get $P VypocetRocni OtoceniRuzice
expect_eq "negative value" "-10" "$OUT"
run_cli 0 set $P VypocetRocni Poznamka -- --x
run_cli 0 get $P VypocetRocni Poznamka
expect_eq "value after --" "--x" "$OUT"
finish
