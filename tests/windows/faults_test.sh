#!/usr/bin/env bash
# The faults a Windows user meets, with ovardix-cli.exe under Wine:
# - Ctrl+C during `concentrations`: Wine hands the process's SIGINT to its console handler
#   as the console's Ctrl+C event (the program's SetConsoleCtrlHandler); the run stops with
#   exit 3, keeps its checkpoint and writes no table, and the next `concentrations` offers to
#   resume and gives the tables of a run never stopped;
# - an output that is an input: refused before anything is written, the input intact;
# - an output a second run of the program is writing: refused with the message naming it.
# The study lies in a folder with Czech letters in its name.
#
# Usage: tests/windows/faults_test.sh [LINUX_CLI] WINDOWS_EXE   (the Linux program, which
# the Windows roads are all given, is not needed here)
# Needs /usr/lib/wine/wine64 (or $WINE). Exits 0 when every check holds, 1 after naming each
# that failed, 2 on bad usage.
set -u
[ $# -ne 2 ] || shift
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  sed -n '2,14p' "$0" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")/../.." && pwd)
exe=$(realpath "$1")
wine=${WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "no Wine at $wine" >&2; exit 2; }
WORK=$(mktemp -d)
export WINEPREFIX=$WORK/wine WINEDLLOVERRIDES=mscoree,mshtml= WINEDEBUG=-all
# Wine's server for the prefix is waited for: it writes there until it ends.
trap '"${wine%/*}/wineserver" -w 2>/dev/null; rm -rf "$WORK"' EXIT
FAILS=0
fail() { echo "FAIL: $*" >&2; FAILS=$((FAILS + 1)); }
expect_eq() { [ "$2" = "$3" ] || fail "$1: expected [$2], got [$3]"; }

# run_cli EXPECTED_STATUS ARGS...: runs the program, stdout in $OUT, stderr in $ERR (without
# the carriage returns of Windows' text output).
run_cli() {
  local want=$1; shift
  "$wine" "$exe" "$@" >"$WORK/stdout" 2>"$WORK/stderr" </dev/null; local rc=$?
  OUT=$(tr -d '\r' <"$WORK/stdout")
  ERR=$(tr -d '\r' <"$WORK/stderr")
  [ "$rc" = "$want" ] || fail "ovardix-cli.exe $* exited $rc, expected $want; stderr: $ERR"
}
set_keys() {
  local p=$1 kv; shift
  for kv in "$@"; do run_cli 0 set "$p" $kv; done
}

# The prefix's first start (some 10 s) says what it makes on stderr: not in a test's output.
"$wine" "$exe" --help >/dev/null 2>&1
study="$WORK/Studie Žďár"
mkdir -p "$study" && cd "$study" || exit 2
export OVARDIX_PROFILE="Z:${study//\//\\}\\profile.ini"
cp -r "$here/examples/study/." .
P=study.ovd
# Large enough that Ctrl+C comes before the run's end: 81 x 81 points at a step of 1 degree.
# Without its coordinate system: this build has no GIS library.
run_cli 0 set $P Global SouradnicovySystem ""
set_keys $P "NovyRefer PocetX 81" "NovyRefer PocetY 81" "NovyRefer KrokX 50" \
  "NovyRefer KrokY 50" "VypocetRocni KrokVypoctu 1"
run_cli 0 --yes terrain $P
set_keys $P "Global VstThetaBin theta.bin" "Global VstDeltaBin delta.bin" "Global VstZmaxBin zmax.bin" \
  "Koeficienty VzdalenostBodu 50"
run_cli 0 --yes grid $P
run_cli 0 --yes convert $P
run_cli 0 --yes coefficients $P
TABLES="rocni.dbf rocni.vst zdroje.dbf"

# The run never stopped, for the comparison.
cp -a "$study" "$WORK/reference"
(cd "$WORK/reference" && "$wine" "$exe" --yes concentrations $P >/dev/null 2>&1) || fail "the uninterrupted run failed"

# --- Ctrl+C during concentrations ---
ls -A >"$WORK/before.lst"
"$wine" "$exe" --yes concentrations $P >/dev/null 2>"$WORK/stderr" </dev/null &
pid=$! start=$SECONDS
while [ ! -e rocni.tmp ] && kill -0 $pid 2>/dev/null && [ $((SECONDS - start)) -lt 300 ]; do sleep 0.05; done
kill -INT $pid 2>/dev/null
wait $pid; rc=$?
ERR=$(tr -d '\r' <"$WORK/stderr")
[ "$rc" = 0 ] && fail "the run ended before Ctrl+C reached it: the study is too small for this machine"
expect_eq "exit status after Ctrl+C" 3 "$rc"
expect_eq "stop message" "Výpočet byl přerušen." "$(echo "$ERR" | tail -n 1)"
[ -s rocni.tmp ] || fail "the checkpoint is gone after Ctrl+C"
for f in $TABLES; do [ -e "$f" ] && fail "a stopped run wrote $f"; done
expect_eq "files after Ctrl+C" "prub_roc.tmp rocni.tmp" \
  "$(ls -A | grep -vxF -f "$WORK/before.lst" | sort | tr '\n' ' ' | sed 's/ $//')"

# Asked on a non-terminal, the restart is offered and the default answer Yes resumes.
run_cli 0 concentrations $P
echo "$ERR" | grep -q '^Upozornění: Poslední běh tohoto výpočtu (výstupní soubor .*rocni\.dbf) nebyl patrně dokončen\. Program je schopen výpočet obnovit od stupně [0-9]*\.00\. Přejete si tuto obnovu provést ?$' ||
  fail "restart question: $ERR"
[ -e rocni.tmp ] && fail "the checkpoint stays after the resumed run"
for f in rocni.dbf zdroje.dbf; do
  cmp -l "$f" "$WORK/reference/$f" 2>&1 | awk '$1 < 2 || $1 > 4 { bad = 1 } END { exit bad }' ||
    fail "the resumed run's $f differs from the uninterrupted run's"
done

# --- an output that is an input ---
before=$(md5sum <body.bin)
run_cli 0 set $P VypocetRocni VystDbf body.bin
run_cli 1 --yes concentrations $P
echo "$ERR" | grep -q "body.bin je zadán jako .* i jako výstupní" || fail "output = input: $ERR"
expect_eq "input kept" "$before" "$(md5sum <body.bin)"
run_cli 0 set $P VypocetRocni VystDbf rocni.dbf

# --- an output that another run is writing ---
# The second run starts once the first holds its outputs' locks, early in its run.
"$wine" "$exe" --yes concentrations $P >/dev/null 2>"$WORK/first.err" </dev/null &
pid=$! start=$SECONDS
while [ ! -e rocni.dbf.ovdlock ] && kill -0 $pid 2>/dev/null && [ $((SECONDS - start)) -lt 300 ]; do sleep 0.05; done
run_cli 1 --yes concentrations $P
echo "$ERR" | grep -q "^Chyba: Soubor .*rocni.dbf právě zapisuje jiný běh programu\.$" || fail "busy output: $ERR"
wait $pid || fail "the first run failed beside the refused second one: $(tr -d '\r' <"$WORK/first.err")"

[ $FAILS -eq 0 ] && echo "every check holds"
[ $FAILS -eq 0 ]
