#!/usr/bin/env bash
# The unattended run of the real ovardix program: "-f PROJECT" on a copy of the example
# study under the offscreen platform, where its message boxes come out on stderr.
#   unattended_test.sh OVARDIX OVARDIX_CLI SOURCE_DIR
set -u
GUI=${1:?path to ovardix}
CLI=${2:?path to ovardix-cli}
SRC=${3:?source folder}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen
export OVARDIX_PROFILE="$WORK/profile.ini"
FAILS=0
fail() { echo "FAIL: $*" >&2; FAILS=$((FAILS + 1)); }

# run_gui EXPECTED_STATUS ARGS...: stderr in $ERR.
run_gui() {
  local want=$1; shift
  timeout 600 "$GUI" "$@" 2>"$WORK/stderr" </dev/null; local rc=$?
  ERR=$(cat "$WORK/stderr")
  [ "$rc" = "$want" ] || fail "ovardix $* exited $rc, expected $want; stderr: $ERR"
}
has() { case "$ERR" in *"$1"*) return 0;; esac; return 1; }

# The study in a folder with a blank in its name, cut to 6 x 6 points and 3 degree steps.
STUDY="$WORK/moje studie"
cp -r "$SRC/examples/study" "$STUDY"
cd "$STUDY"
P=study.ovd
for kv in "NovyRefer PocetX 6" "NovyRefer PocetY 6" "VypocetRocni KrokVypoctu 2"; do
  "$CLI" set $P $kv || fail "set $kv"
done
"$CLI" --yes grid $P 2>/dev/null || fail "grid"
"$CLI" --yes terrain $P 2>/dev/null || fail "terrain"

# The switch and the quoted path as a Windows shortcut passes them.
run_gui 0 -f "\"$STUDY/$P\""
has "Zpráva: Výpočet na pozadí dokončen." || fail "no completion message: $ERR"
has "Chyba" && fail "an error in a good run: $ERR"
[ -s theta.bin ] && [ -s zdroje.bin ] && [ -s body.bin ] || fail "conversion and coefficient outputs"
rows=$("$CLI" dbf-show rocni.dbf | wc -l)
[ "$rows" = 37 ] || fail "result table: expected a header and 36 rows, got $rows lines"
[ -s rocni.vst ] || fail "no text protocol"
grep -qi '^\[MainFrame\]' "$OVARDIX_PROFILE" 2>/dev/null && fail "the window placement was saved"

# Again with "/F" and a bare path: the run overwrites its outputs without asking.
cp rocni.dbf first.dbf
run_gui 0 /F "$STUDY/$P"
has "Výpočet na pozadí dokončen." || fail "second run: $ERR"
cmp -s <("$CLI" dbf-show rocni.dbf | cut -f2-) <("$CLI" dbf-show first.dbf | cut -f2-) || fail "the second run differs"

# A project whose points file is missing: the conversion fails, the run stops there.
rm -f rocni.dbf rocni.vst body.bin
"$CLI" set $P Global VstReferBodTxt chybi.txt
run_gui 1 -f "$P"
has "Chyba: Vstupní soubor s refer. body nelze otevřít !" || fail "missing points message: $ERR"
has "převod vstupních souborů" || fail "the failed step is not named: $ERR"
has "dokončen" && fail "completion message after a failure: $ERR"
[ -e rocni.dbf ] && fail "a result table after a failure"
[ -e body.bin ] && fail "a points file after a failure"

# A project file that does not exist.
run_gui 1 -f "\"$WORK/none.ovd\""
has "nelze otevřít" || fail "missing project message: $ERR"

if [ "$FAILS" -ne 0 ]; then echo "$FAILS check(s) failed" >&2; exit 1; fi
echo "all checks passed"
