#!/usr/bin/env bash
# Project settings from the command line: get, set, case, foreign lines, usage errors.
. "$(dirname "$0")/lib.sh"

P="$WORK/p.ovd"
run_cli 0 set "$P" Global VstReferBodTxt /tmp/a.txt
run_cli 0 get "$P" Global VstReferBodTxt
expect_eq "value read back" "/tmp/a.txt" "$OUT"
run_cli 0 get "$P" GLOBAL vstreferbodtxt
expect_eq "keys differing in case" "/tmp/a.txt" "$OUT"

printf '[XovrRuz]\r\nSirka=1200\r\n; poznamka\r\n[Global]\r\nVstReferBodTxt=/old\r\n' > "$P"
run_cli 0 set "$P" global VSTREFERBODTXT "/data/body bodu.txt"
expect_eq "foreign lines survive, CR LF kept" \
  "$(printf '[XovrRuz]\r\nSirka=1200\r\n; poznamka\r\n[Global]\r\nVSTREFERBODTXT=/data/body bodu.txt\r\n')" \
  "$(cat "$P")"
run_cli 0 get "$P" Global Missing
expect_eq "a missing key is empty" "" "$OUT"

run_cli 1 get "$WORK/none.ovd" Global X
expect_eq "missing project" "Chyba: Soubor projektu $WORK/none.ovd neexistuje." "$ERR"
mkdir "$WORK/ro"; chmod 500 "$WORK/ro"
if [ "$(id -u)" != 0 ]; then
  run_cli 1 set "$WORK/ro/p.ovd" A k v
  expect_eq "failed write" "Chyba: Nepodařilo se zapsat do ini souboru" "$ERR"
fi
run_cli 1 set "$WORK/nofolder/p.ovd" A k v
expect_eq "failed write" "Chyba: Nepodařilo se zapsat do ini souboru" "$ERR"

run_cli 2 get "$P" Global
run_cli 2 frobnicate "$P"
run_cli 2 --yes --no get "$P" A B
run_cli 0 --help
case "$OUT" in *"set PROJEKT.ovd"*) ;; *) fail "help lists set";; esac
finish
