#!/usr/bin/env bash
# A tiled study of the maximum with group shares: the tiles' own tables merge into those of
# the unsplit run; merge joins the tiles' group-shares tables (the maximum's weather, then
# one field per group) like the annual one, and refuses, writing nothing, when a tile's table
# is missing or laid out otherwise. For those checks the tiles' tables are written here from
# their maximum tables, so that only the joining is judged.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/tiles_lib.sh"
export PYTHONPATH="$OVD_SOURCE_DIR/tests/e2e/data"

cd "$WORK"
small_study maximum 250 maximum
run_cli 0 set study.ovd VypocetRocni PodilySkupinZdroju 1
run_cli 0 set study.ovd VypocetRocni VystDbfPodily podily.dbf
reference_run
run_cli 0 tile study.ovd --points 100
run_tiles_one_by_one
# The tiles' own shares tables, merged, are the unsplit run's.
run_cli 0 merge study.ovd
same_as_reference "merged tiles of the maximum with group shares"
clear_outputs

# shares_table TILE [GROUPS]: the tile's group-shares table in the maximum's layout, its
# shares made from the point numbers so that every record differs.
shares_table() {
  python3 - "$1" "${2:-4}" <<'PY'
import sys, dbf_table
folder, groups = sys.argv[1], int(sys.argv[2])
f, rows = dbf_table.read(folder + "/vysledky.dbf")
assert [x[0] for x in f[:9]] == ["ID_POINT", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "CONC_MAX", "CLASS_STAB",
                                 "W_VELOCITY", "W_DIRECT"], f
gf = f[:9] + [("GR_%06d" % (g + 1), 15, 6, 0) for g in range(groups)]
out = []
for r in rows:
    n = int(r[0])
    shares = [(n * (g + 3)) % 17 for g in range(groups)]
    total = sum(shares) or 1
    out.append(r[:9] + [100.0 * s / total for s in shares])
dbf_table.write(folder + "/podily.dbf", gf, out)
PY
}
for t in study_dlazdice/*/; do shares_table "${t%/}"; done

run_cli 0 merge study.ovd
python3 - <<'PY' || fail "merged group shares are not the tiles' tables one after the other"
import dbf_table
f, rows = dbf_table.read("podily.dbf")
parts = [dbf_table.read("study_dlazdice/%03d/podily.dbf" % k) for k in (1, 2, 3)]
assert all(p[0] == f for p in parts), "fields"
assert rows == parts[0][1] + parts[1][1] + parts[2][1], "records"
assert len(rows) == 250 and [int(r[0]) for r in rows] == list(range(1, 251)), "points"
m, mrows = dbf_table.read("rocni.dbf")
assert [r[:9] for r in rows] == [r[:9] for r in mrows], "weather of the maximum"
PY
grep -q "DBF soubor s podily zdr.: podily.dbf" rocni.vst || fail "merged protocol does not name the shares table"
cp podily.dbf merged.dbf

refused() {  # WHAT EXPECTED_TEXT
  cp merged.dbf podily.dbf
  run_cli 1 --yes merge study.ovd
  case "$ERR" in *"$2"*) ;; *) fail "$1: expected [$2] in: $ERR" ;; esac
  cmp -s podily.dbf merged.dbf || fail "$1: the group shares table was touched"
}
shares_table study_dlazdice/002 3
refused "other groups in one tile" "podílů skupin zdrojů"
rm study_dlazdice/002/podily.dbf
refused "tile without its shares" "Výsledky těchto dlaždic chybějí: 002"
finish
