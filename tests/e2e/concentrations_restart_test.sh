#!/usr/bin/env bash
# Ctrl+C during an annual run: the run stops with exit 3, keeps its checkpoint and writes no
# result table; the next start resumes from the checkpoint and gives the same tables as a run
# that was never stopped. A checkpoint of other settings is not offered, and the unattended
# main road never resumes one.
. "$(dirname "$0")/lib.sh"

# A study that takes a few seconds at a step of 1 degree: 81 x 81 reference points. A faster
# engine may need more of them, so that Ctrl+C still comes before the run's end.
mkdir "$WORK/ref" && cd "$WORK/ref"
example_study
set_keys $P "NovyRefer PocetX 81" "NovyRefer PocetY 81" "NovyRefer KrokX 50" "NovyRefer KrokY 50" \
  "VypocetRocni KrokVypoctu 1" "VypocetRocni KoncDobyPrek1 1" "VypocetRocni KoncDobyPrek3 5" \
  "VypocetRocni PodilySkupinZdroju 1" "VypocetRocni VystDbfPodily podily.dbf"
run_cli 0 --yes grid $P
run_cli 0 --yes convert $P
run_cli 0 --yes coefficients $P
# The copy keeps the modification times, so both folders hold the same run.
cp -a "$WORK/ref" "$WORK/int"

TABLES="rocni.dbf rocni.vst zdroje.dbf podily.dbf"
# The uninterrupted runs at steps 1 and 3, each kept in its own folder.
for step in 1:1 3:2; do
  run_cli 0 set $P VypocetRocni KrokVypoctu "${step#*:}"
  run_cli 0 --yes concentrations $P
  mkdir "step${step%%:*}" && mv $TABLES "step${step%%:*}/"
done
[ -e rocni.tmp ] && fail "a complete run leaves its checkpoint"

# same_tables FOLDER WHAT: the tables of the current folder equal those in FOLDER; only
# the date of the tables' headers (bytes 2 to 4) and the protocol's date line may differ.
same_tables() {
  local f
  for f in rocni.dbf zdroje.dbf podily.dbf; do
    if [ ! -f "$f" ]; then fail "$2: $f was not written"; continue; fi
    cmp -l "$f" "$1/$f" 2>&1 | awk '$1 < 2 || $1 > 4 { bad = 1 } END { exit bad }' || fail "$2: $f differs"
  done
  [ -f rocni.vst ] && cmp -s <(sed 2d rocni.vst) <(sed 2d "$1/rocni.vst") || fail "$2: the protocol differs"
}

# interrupt SIGNAL ARGS...: starts ovardix-cli ARGS in the background with the signal's default
# action (a script's background job would ignore SIGINT), waits for the checkpoint, sends
# SIGNAL and leaves the exit status in $RC and stderr in $ERR.
interrupt() {
  local sig=$1; shift
  env --default-signal=INT "$CLI" "$@" >/dev/null 2>"$WORK/stderr" </dev/null &
  local pid=$! start=$SECONDS
  while [ ! -e rocni.tmp ] && kill -0 $pid 2>/dev/null && [ $((SECONDS - start)) -lt 300 ]; do
    sleep 0.01
  done
  kill -s "$sig" $pid 2>/dev/null
  wait $pid; RC=$?
  ERR=$(cat "$WORK/stderr")
}

cd "$WORK/int"
run_cli 0 set $P VypocetRocni KrokVypoctu 1
ls -A > before.lst
interrupt INT --yes concentrations $P
[ "$RC" = 0 ] && fail "the run ended before Ctrl+C reached it: the study is too small for this machine"
expect_eq "exit status after Ctrl+C" 3 "$RC"
expect_eq "stop message" "Výpočet byl přerušen." "$(echo "$ERR" | tail -n 1)"
expect_eq "run log names the stop" "Výpočet byl přerušen." "$(tail -n 1 prub_roc.tmp)"
[ -s rocni.tmp ] || fail "the checkpoint is gone after Ctrl+C"
for f in $TABLES; do [ -e "$f" ] && fail "a stopped run wrote $f"; done
# Nothing else is left behind: no table, no temporary file, only the checkpoint and the run log.
expect_eq "files after Ctrl+C" "prub_roc.tmp rocni.tmp" \
  "$(ls -A | grep -vxF -f before.lst | grep -vx before.lst | sort | tr '\n' ' ' | sed 's/ $//')"
cp rocni.tmp stopped.tmp

# Resumed with --yes: the same tables as the uninterrupted run; the checkpoint goes.
run_cli 0 --yes concentrations $P
same_tables ../ref/step1 "resumed run"
[ -e rocni.tmp ] && fail "the checkpoint stays after the resumed run"

# Asked on a non-terminal, the restart is offered from the stored direction, a multiple of 45,
# and the default answer Yes resumes.
rm -f $TABLES
cp stopped.tmp rocni.tmp
run_cli 0 concentrations $P
offered=$(echo "$ERR" | sed -n 's/^Upozornění: Poslední běh tohoto výpočtu (výstupní soubor .*rocni\.dbf) nebyl patrně dokončen\. Program je schopen výpočet obnovit od stupně \([0-9]*\)\.00\. Přejete si tuto obnovu provést ?$/\1/p')
[ -n "$offered" ] && [ $((offered % 45)) -eq 0 ] && [ "$offered" -ge 45 ] && [ "$offered" -le 315 ] \
  || fail "restart question: $ERR"
same_tables ../ref/step1 "run resumed on the default answer"

# A checkpoint of the layout before the checksum, or a damaged one, is not offered, and the
# run says why.
rm -f $TABLES
head -c -8 stopped.tmp > rocni.tmp
run_cli 0 --quiet concentrations $P
expect_eq "old checkpoint" "Upozornění: Soubor s mezivýsledky rocni.tmp byl zapsán starší verzí programu, výpočet z něj nelze obnovit a poběží od začátku." "$ERR"
same_tables ../ref/step1 "run after an old checkpoint"
rm -f $TABLES
cp stopped.tmp rocni.tmp
printf '\x7f\x7f' | dd of=rocni.tmp bs=1 seek=20 conv=notrunc status=none
run_cli 0 --quiet concentrations $P
expect_eq "damaged checkpoint" "Upozornění: Soubor s mezivýsledky rocni.tmp je poškozený, výpočet z něj nelze obnovit a poběží od začátku." "$ERR"

# A checkpoint of another step is not offered: the run starts at 0 and gives the step-3 tables.
rm -f $TABLES
cp stopped.tmp rocni.tmp
run_cli 0 set $P VypocetRocni KrokVypoctu 2
run_cli 0 --quiet concentrations $P
expect_eq "no restart question for another step" "" "$ERR"
same_tables ../ref/step3 "run at another step"
[ -e rocni.tmp ] && fail "the stale checkpoint stays"

# Changed points (here only their time stamp) make the checkpoint stale as well.
rm -f $TABLES
cp stopped.tmp rocni.tmp
run_cli 0 set $P VypocetRocni KrokVypoctu 1
touch -d '2001-02-03 04:05:06' body.bin
run_cli 0 --quiet concentrations $P
expect_eq "no restart question for changed points" "" "$ERR"
same_tables ../ref/step1 "run with changed points"

# The unattended main road: SIGTERM stops it in the concentrations with exit 3 and the step named,
# and the tables of the previous run stay as they were; the next run neither asks nor resumes,
# and ends with the same tables.
mkdir previous && cp $TABLES previous/
interrupt TERM run $P
expect_eq "exit status of the main road after SIGTERM" 3 "$RC"
expect_eq "main road stop messages" "Chyba: Výpočet bez obsluhy se zastavil v kroku: výpočet koncentrací.
Výpočet byl přerušen." "$(echo "$ERR" | tail -n 2)"
[ -s rocni.tmp ] || fail "the main road's checkpoint is gone after SIGTERM"
for f in $TABLES; do cmp -s "$f" "previous/$f" || fail "a stopped main road changed $f"; done
run_cli 0 run $P
case "$ERR" in *"Poslední běh"*) fail "the main road offered a restart: $ERR" ;; esac
same_tables ../ref/step1 "main road after a stop"
[ -e rocni.tmp ] && fail "the main road leaves the checkpoint"
finish
