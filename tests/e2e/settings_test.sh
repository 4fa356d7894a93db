#!/usr/bin/env bash
# Project settings from the command line: get, set, case, foreign lines, usage errors.
. "$(dirname "$0")/lib.sh"

P="$WORK/p.ovd"
run_cli 0 set "$P" Global VstReferBodTxt /tmp/a.txt
expect_eq "a new project is said to be created" "Zpráva: Soubor projektu $P neexistuje, zakládá se nový." "$ERR"
run_cli 0 set "$P" Global VstReferBodTxt /tmp/a.txt
expect_eq "an existing project is not" "" "$ERR"
run_cli 0 get "$P" Global VstReferBodTxt
expect_eq "value read back" "/tmp/a.txt" "$OUT"
run_cli 0 get "$P" GLOBAL vstreferbodtxt
expect_eq "keys differing in case" "/tmp/a.txt" "$OUT"

printf '[XovrRuz]\r\nSirka=1200\r\n; poznamka\r\n[Global]\r\nVstReferBodTxt=/old\r\n' > "$P"
run_cli 0 set "$P" global VSTREFERBODTXT "/data/body bodu.txt"
expect_eq "foreign lines survive, CR LF kept" \
  "$(printf '[XovrRuz]\r\nSirka=1200\r\n; poznamka\r\n[Global]\r\nVSTREFERBODTXT=/data/body bodu.txt\r\n')" \
  "$(cat "$P")"
run_cli 1 get "$P" Global Missing
expect_eq "a missing key is not an empty one" "Chyba: Soubor projektu $P nemá v sekci Global klíč Missing." "$ERR"
expect_eq "nothing printed for a missing key" "" "$OUT"
run_cli 0 set "$P" Global Prazdny ""
run_cli 0 get "$P" Global Prazdny
expect_eq "a key set to nothing is empty" "" "$OUT"

# A key no tool reads, in a section the tools use, is written with a warning; in a section
# of its own it is written silently.
run_cli 0 set "$P" Global VstRefrBodTxt x.txt
expect_eq "mistyped key" "Upozornění: Klíč VstRefrBodTxt v sekci Global nečte žádný nástroj (překlep v názvu?)." "$ERR"
run_cli 0 get "$P" Global VstRefrBodTxt
expect_eq "mistyped key written" "x.txt" "$OUT"
run_cli 0 set "$P" Poznamky Autor "J. N."
expect_eq "own section" "" "$ERR"

# --profile in a folder that does not exist fails before anything runs.
run_cli 1 --profile "$WORK/nikde/profil.ini" substances add x 1 1 2 3
expect_eq "profile folder" "Chyba: Složka $WORK/nikde uživatelského profilu $WORK/nikde/profil.ini neexistuje." "$ERR"
[ ! -e "$WORK/nikde" ] || fail "the profile's folder was created"

run_cli 1 get "$WORK/none.ovd" Global X
expect_eq "missing project" "Chyba: Soubor projektu $WORK/none.ovd neexistuje." "$ERR"
# A device or a folder given as the project is named for what it is, and nothing is written.
run_cli 1 check-points /dev/zero
expect_eq "device as project" "Chyba: Soubor projektu /dev/zero není obyčejný soubor." "$ERR"
mkdir "$WORK/slozka.ovd"
run_cli 1 set "$WORK/slozka.ovd" Global X 1
expect_eq "folder as project" "Chyba: Soubor projektu $WORK/slozka.ovd není obyčejný soubor." "$ERR"
mkdir "$WORK/ro"; chmod 500 "$WORK/ro"
if [ "$(id -u)" != 0 ]; then
  run_cli 1 set "$WORK/ro/p.ovd" A k v
  expect_eq "failed write" "Zpráva: Soubor projektu $WORK/ro/p.ovd neexistuje, zakládá se nový.
Chyba: Nepodařilo se zapsat do ini souboru" "$ERR"
fi
run_cli 1 set "$WORK/nofolder/p.ovd" A k v
expect_eq "failed write" "Zpráva: Soubor projektu $WORK/nofolder/p.ovd neexistuje, zakládá se nový.
Chyba: Nepodařilo se zapsat do ini souboru" "$ERR"

run_cli 2 get "$P" Global
run_cli 2 frobnicate "$P"
run_cli 2 --yes --no get "$P" A B
run_cli 0 --help
case "$OUT" in *"set PROJEKT.ovd"*) ;; *) fail "help lists set";; esac
finish
