#!/usr/bin/env bash
# The substance list of the per-user profile: defaults, add, delete, refusals.
. "$(dirname "$0")/lib.sh"

TAB=$'\t'
run_cli 0 substances
expect_eq "defaults of a fresh profile" \
  "1${TAB}oxid_siřičitý; 2; 60.0, 40.0, 20.0
2${TAB}oxidy_dusíku; 2; 80.0, 60.0, 40.0" "$OUT"
[ -e "$OVARDIX_PROFILE" ] && fail "listing alone must not write the profile"

run_cli 0 substances add benzen 1 12.34 0 7
run_cli 0 substances
expect_eq "added entry, one decimal" "3${TAB}benzen; 1; 12.3, 0.0, 7.0" "$(echo "$OUT" | tail -n 1)"
expect_eq "stored value" \
  "SeznamLatek=oxid_siřičitý; 2; 60.0, 40.0, 20.0|oxidy_dusíku; 2; 80.0, 60.0, 40.0|benzen; 1; 12.3, 0.0, 7.0|" \
  "$(grep SeznamLatek "$OVARDIX_PROFILE")"

run_cli 1 substances add "a;b" 1 1 2 3
expect_eq "name with a separator" 'Chyba: Název látky nesmí obsahovat znaky ";" a "|" ani konec řádku.' "$ERR"
run_cli 1 substances add "  " 1 1 2 3
expect_eq "empty name" "Chyba: Název látky nesmí být prázdný." "$ERR"
run_cli 1 substances add x 1 1 -2 3
expect_eq "negative limit" "Chyba: Koncentrace pro dobu překročení nesmí být záporná." "$ERR"
run_cli 2 substances add x 4 1 2 3
run_cli 2 substances add x 1 1 2 abc

run_cli 3 --no substances delete 1
expect_eq "the declined question is shown" "Potvrzení : Opravdu chcete smazat vybraný záznam ?" "$ERR"
run_cli 0 substances
expect_eq "No keeps the entry" 3 "$(echo "$OUT" | wc -l)"
run_cli 1 substances delete 4
case "$ERR" in *"Látka číslo 4 v seznamu není"*) ;; *) fail "delete past the end: $ERR";; esac
run_cli 0 --yes substances delete 1
run_cli 0 substances
expect_eq "first entry deleted" "1${TAB}oxidy_dusíku; 2; 80.0, 60.0, 40.0" "$(echo "$OUT" | head -n 1)"

run_cli 0 --yes substances delete 1
run_cli 0 --yes substances delete 1
run_cli 0 substances
expect_eq "an emptied list stays empty" "" "$OUT"
expect_eq "stored empty value" "SeznamLatek=" "$(grep SeznamLatek "$OVARDIX_PROFILE")"

# Two processes changing the list at the same time: every entry of both is kept.
rm -f "$OVARDIX_PROFILE"
for who in a b; do
  ( for i in $(seq 1 25); do "$CLI" substances add "$who$i" 1 1 2 3 >/dev/null 2>&1 || echo "add $who$i failed"; done ) \
    > "$WORK/$who.log" &
done
wait
expect_eq "concurrent writers' failures" "" "$(cat "$WORK/a.log" "$WORK/b.log")"
run_cli 0 substances
expect_eq "concurrent adds all kept" 52 "$(echo "$OUT" | wc -l)"
expect_eq "no lock file left" "" "$(ls "$WORK" | grep ovdlock)"
finish
