#!/usr/bin/env bash
# --json: the result of the checks and the table display read by another program, with the
# same rows and verdict as the text output.
. "$(dirname "$0")/lib.sh"

DATA=$(cd "$(dirname "$0")" && pwd)/data
cp -r "$OVD_SOURCE_DIR/examples/study/." "$WORK/"
cd "$WORK"
P=study.ovd

# same_as_text NAME STATUS: json.out must hold the rows and lines of text.out, in order,
# with this status.
same_as_text() {
  python3 - "$1" "$2" <<'PY' || fail "$1: JSON differs from the text output"
import json, sys
name, status = sys.argv[1], sys.argv[2]
with open("json.out", encoding="utf-8") as f:
    result = json.load(f)
text = open("text.out", encoding="utf-8").read()
# Titles and column lines are layout; every row and line must come in the same order,
# a row's mark where the text shows one.
skip = {t["title"] for t in result["tables"]} | {"\t".join(t["columns"]) for t in result["tables"]} | {""}
shown = [l for l in text.split("\n") if l not in skip]
rows = [r for t in result["tables"] for r in t["rows"] if "\t".join(r["cells"]) not in skip]
expected = ["\t".join(r["cells"]) for r in rows] + result["lines"]
ok = len(shown) == len(expected)
for line, want, row in zip(shown, expected, rows + [None] * len(result["lines"])):
    ok = ok and (line == want or (row is not None and line == want + "\t" + row["mark"]))
ok = ok and result["status"] == status
rendered = "\n".join(expected) + "\n"
for m in result["messages"]:
    ok = ok and set(m) == {"severity", "caption", "text"} and m["severity"] in ("error", "warning", "info")
if not ok:
    sys.stderr.write("%s: status %s\n--- json rendered\n%s--- text\n%s" % (name, result["status"], rendered, text))
sys.exit(0 if ok else 1)
PY
}

# both_ways CODE STATUS NAME ARGS...: the command as text and as JSON, same exit code.
both_ways() {
  local code=$1 status=$2 name=$3; shift 3
  "$CLI" "$@" >text.out 2>/dev/null </dev/null; local rc=$?
  [ "$rc" = "$code" ] || fail "$name: text run exited $rc, expected $code"
  "$CLI" --json "$@" >json.out 2>json.err </dev/null; rc=$?
  [ "$rc" = "$code" ] || fail "$name: JSON run exited $rc, expected $code"
  same_as_text "$name" "$status"
}

both_ways 0 done "points" check-points $P
both_ways 0 done "sources" check-sources $P
both_ways 0 done "terrain" check-terrain $P
# a faulty line: the check's verdict and the marked row
printf '12,1,2,3;\n' >> body.txt
both_ways 4 unusable "faulty points" check-points $P
python3 - <<'PY' || fail "faulty row marked as an error"
import json
r = json.load(open("json.out", encoding="utf-8"))
rows = r["tables"][0]["rows"]
assert r["tables"][0]["columns"][0] == "Řádek"
assert rows[-1]["mark"] == "chyba" and rows[-1]["cells"][1] == "12,1,2,3;", rows[-1]
assert r["tables"][-1]["title"] == "Výsledek kontroly :"
PY

# a result table, and the message of a file that cannot be read
python3 "$DATA/make_result_table.py" two.dbf 2
both_ways 0 done "dbf" dbf-show two.dbf
run_cli 1 --json dbf-show missing.dbf
printf '%s' "$OUT" | python3 -c '
import json, sys
r = json.load(sys.stdin)
assert r["status"] == "failed" and r["tables"] == []
assert r["messages"] and r["messages"][0]["severity"] == "error" and r["messages"][0]["caption"] == "Chyba"
' || fail "failed display as JSON"

# a value line with quotes, a backslash and a tab stays valid JSON
run_cli 0 set $P Global Poznamka "$(printf 'a\tb "c" \\ d')"
run_cli 0 --json get $P Global Poznamka
printf '%s' "$OUT" | python3 -c '
import json, sys
assert json.load(sys.stdin)["lines"] == ["a\tb \"c\" \\ d"]' || fail "escaped line"
finish
