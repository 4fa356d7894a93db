#!/usr/bin/env bash
# The maximum run of the bundled example study with "počítat podíly skupin zdrojů": the
# maximum table stays byte for byte what it is without the option, the shares table repeats
# each point's maximum and weather and its groups' shares add up to 100 % where the maximum
# is not 0; the overwrite question, the open failure, the protocol line.
. "$(dirname "$0")/lib.sh"

export PYTHONPATH="$OVD_SOURCE_DIR/tests/e2e/data"
cd "$WORK"
example_study
set_keys $P "Global ZpusobVypoctu 1" "VypocetRocni VystDbf max.dbf" "VypocetRocni KrokVypoctu 3" \
  "VypocetRocni KrokVypoctuVlastni 15" "VypocetRocni KoncDobyPrek1 1" "VypocetRocni PodilySkupinZdroju 0" \
  "VypocetRocni VystDbfPodily podily_max.dbf"
run_cli 0 run $P
[ -e podily_max.dbf ] && fail "a maximum run without the option wrote a shares table"
mkdir without && cp max.dbf max.vst zdroje.dbf without/

run_cli 0 set $P VypocetRocni PodilySkupinZdroju 1
run_cli 0 --yes concentrations $P
[ -s podily_max.dbf ] || fail "the maximum run wrote no shares table"
[ -e max.tmp ] && fail "the checkpoint of the complete maximum stays after the run"
# same_bytes A B WHAT: equal apart from the date in the header (bytes 2 to 4)
same_bytes() { cmp -l "$1" "$2" 2>&1 | awk '$1 < 2 || $1 > 4 { bad = 1 } END { exit bad }' || fail "$3"; }
same_bytes max.dbf without/max.dbf "the maximum table differs with the option"
same_bytes zdroje.dbf without/zdroje.dbf "the source table differs with the option"
expect_eq "protocol with the option" ">   DBF soubor s podily zdr.: podily_max.dbf" \
  "$(diff <(sed 2d without/max.vst) <(sed 2d max.vst) | grep '^[<>]')"

python3 - <<'PY' || fail "shares table"
import dbf_table
mf, mrows = dbf_table.read("max.dbf")
sf, srows = dbf_table.read("podily_max.dbf")
names = [f[0] for f in sf]
assert names == ["ID_POINT", "X_COORD", "Y_COORD", "Z_ELEV", "L_ELEV", "CONC_MAX", "CLASS_STAB", "W_VELOCITY",
                 "W_DIRECT", "GR_000001", "GR_000002", "GR_000003", "GR_000004"], names
assert sf[:9] == mf[:9] and all(f[1:] == (15, 6, 0) for f in sf[9:]), sf
assert len(srows) == len(mrows) == 1681
positive = dominant = 0
for s, m in zip(srows, mrows):
    assert s[:9] == m[:9], (s[:9], m[:9])
    shares = [float(v) for v in s[9:]]
    assert all(-1e-6 <= v <= 100.000001 for v in shares), s
    if float(s[5]) > 0:
        positive += 1
        assert abs(sum(shares) - 100) < 1e-4, (s[0], sum(shares))
        dominant += max(shares) > 50
    else:
        assert shares == [0.0] * 4, s
assert positive > 1000 and dominant > 0, (positive, dominant)
PY

# The shares table is asked about like the result table: No leaves it and writes nothing.
cp podily_max.dbf podily_before.dbf
mv max.dbf max_before.dbf
run_cli 3 --no concentrations $P
cmp -s podily_max.dbf podily_before.dbf || fail "the shares table changed after No"
[ -e max.dbf ] && fail "a run answered No wrote the maximum table"
case "$ERR" in *podily_max.dbf*) ;; *) fail "the overwrite question does not name the shares table: $ERR" ;; esac
mv max_before.dbf max.dbf

# A shares table that cannot be opened stops the run before the loop, with its own message.
run_cli 0 set $P VypocetRocni VystDbfPodily chybi/podily_max.dbf
run_cli 1 --yes concentrations $P
expect_eq "open failure" "Chyba: Výstupní dbf s podíly skupin zdrojů nelze otevřít!" "$ERR"
same_bytes max.dbf without/max.dbf "a failed run touched the maximum table"
# ... and one that is the result table is refused before anything is asked.
run_cli 0 set $P VypocetRocni VystDbfPodily max.dbf
run_cli 1 concentrations $P
expect_eq "shares table as the result table" \
  "Chyba: Tabulka zdrojů, tabulka výsledků a tabulka podílů skupin zdrojů musí být různé soubory!" "$ERR"

finish
