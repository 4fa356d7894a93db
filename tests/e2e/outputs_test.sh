#!/usr/bin/env bash
# How outputs meet the file system: an output that is an input is refused before any
# question, links stay links, devices and FIFOs are never replaced, stale temporary
# files go, and a second run on the same outputs stops with a clear message.
. "$(dirname "$0")/lib.sh"
MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
cd "$WORK"
$MAKE tab.dbf 5 >/dev/null
P="$WORK/p.ovd"
"$CLI" set "$P" DbfExport VstDbf tab.dbf >/dev/null
"$CLI" set "$P" DbfExport ZapisGis 0 >/dev/null
"$CLI" set "$P" DbfExport VystShx tab.shx >/dev/null

# The shapefile named like the input table: refused, nothing asked, the table intact.
before=$(md5sum <tab.dbf)
"$CLI" set "$P" DbfExport VystShp ./tab.dbf >/dev/null
run_cli 1 dbf-export "$P"
expect_eq "output = input" "Chyba: Soubor ./tab.dbf je zadán jako vstupní DBF soubor i jako výstupní SHP soubor.
    Zvolte pro výstup jiný soubor." "$ERR"
expect_eq "input table kept" "$before" "$(md5sum <tab.dbf)"
# Two outputs on one new path.
"$CLI" set "$P" DbfExport VystShp new.shp >/dev/null
"$CLI" set "$P" DbfExport VystShx new.shp >/dev/null
run_cli 1 --yes dbf-export "$P"
expect_eq "two outputs, one new file" "Chyba: Soubor new.shp je zadán jako výstupní SHP soubor i jako výstupní SHX soubor.
    Zvolte pro výstup jiný soubor." "$ERR"
[ ! -e new.shp ] || fail "a refused run wrote new.shp"

# A symlinked output is written through; the link stays a link.
mkdir -p real
"$CLI" set "$P" DbfExport VystShp tab.shp >/dev/null
"$CLI" set "$P" DbfExport VystShx tab.shx >/dev/null
ln -s real/target.shp tab.shp
run_cli 0 --yes dbf-export "$P"
[ -L tab.shp ] || fail "the symlinked output became a plain file"
[ -s real/target.shp ] || fail "the link's target was not written"

# A FIFO as an output is refused with the tool's message and stays a FIFO.
rm -f tab.shp
mkfifo tab.shp
run_cli 1 --yes dbf-export "$P"
expect_eq "fifo output" "Chyba: Vystupní SHP soubor se nepodařilo otevřít !" "$ERR"
[ -p tab.shp ] || fail "the FIFO was replaced"
rm -f tab.shp

# A temporary file left by a killed run goes with the next write; a live lock stops a
# second run with a message naming the file.
printf 'half' >tab.shp.ovdtmp.Xy12Zw
run_cli 0 --yes dbf-export "$P"
[ ! -e tab.shp.ovdtmp.Xy12Zw ] || fail "the stale temporary file is still there"
python3 - "$WORK/tab.shx" <<'EOF' &
import fcntl, os, sys, time
fd = os.open(sys.argv[1] + ".ovdlock", os.O_RDWR | os.O_CREAT)
fcntl.flock(fd, fcntl.LOCK_EX)
open(sys.argv[1] + ".held", "w").close()
time.sleep(5)
EOF
holder=$!
for _ in $(seq 50); do [ -e tab.shx.held ] && break; sleep 0.1; done
run_cli 1 --yes dbf-export "$P"
expect_eq "busy output" "Chyba: Soubor tab.shx právě zapisuje jiný běh programu.
    Počkejte, až doběhne, nebo zvolte jiný výstupní soubor." "$ERR"
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null

# A project file that is a link stays a link and its target gets the key.
mkdir -p projects
cp "$P" projects/real.ovd
ln -s projects/real.ovd linked.ovd
run_cli 0 set linked.ovd Global VstRuziceTxt ruzice.txt
[ -L linked.ovd ] || fail "the symlinked project became a plain file"
expect_eq "key in the link's target" "VstRuziceTxt=ruzice.txt" "$(grep VstRuziceTxt projects/real.ovd)"
finish
