#!/usr/bin/env bash
# The Slurm job array on a real single-node Slurm started here (its own munge key, socket
# and ports, daemons stopped at the end): one array task per tile, the merge job after
# them (afterok); then ovardix-mpi started by srun in a job of two tasks. The merged tables
# equal the unsplit run apart from the dates.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/tiles_lib.sh"
for p in munged slurmctld slurmd sbatch squeue sinfo; do
  command -v "$p" >/dev/null || { fail "$p is missing (scripts/install-deps.sh installs slurm-wlm and munge)"; finish; }
done

S=$WORK/slurm
mkdir -p "$S/state" "$S/spool" && chmod 700 "$S"
stop_slurm() {
  local f
  for f in "$S/slurmd.pid" "$S/slurmctld.pid" "$S/munged.pid"; do
    [ -s "$f" ] && kill "$(cat "$f")" 2>/dev/null
  done
  sleep 1
  rm -rf "$WORK"
}
trap stop_slurm EXIT
dd if=/dev/urandom of="$S/munge.key" bs=1024 count=1 status=none && chmod 600 "$S/munge.key"
munged --force --key-file="$S/munge.key" --socket="$S/munge.sock" --pid-file="$S/munged.pid" \
  --log-file="$S/munged.log" --seed-file="$S/munged.seed" 2>/dev/null || { fail "munged did not start"; finish; }
host=$(hostname -s)
port=$((20000 + RANDOM % 20000))
export SLURM_CONF=$S/slurm.conf
cat >"$SLURM_CONF" <<CONF
ClusterName=ovdtest
SlurmctldHost=$host
SlurmctldPort=$port
SlurmdPort=$((port + 1))
SlurmUser=$(id -un)
AuthType=auth/munge
AuthInfo=socket=$S/munge.sock
StateSaveLocation=$S/state
SlurmdSpoolDir=$S/spool
SlurmctldPidFile=$S/slurmctld.pid
SlurmdPidFile=$S/slurmd.pid
SlurmctldLogFile=$S/slurmctld.log
SlurmdLogFile=$S/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
ReturnToService=2
MpiDefault=none
NodeName=$host CPUs=2 State=UNKNOWN
PartitionName=tiles Nodes=$host Default=YES MaxTime=INFINITE State=UP
CONF
slurmctld -f "$SLURM_CONF" && slurmd -f "$SLURM_CONF" || { fail "the Slurm daemons did not start"; finish; }
for i in $(seq 60); do
  sinfo -h -o %t 2>/dev/null | grep -q idle && break
  sleep 1
done
sinfo -h -o %t 2>/dev/null | grep -q idle || { fail "the node did not come up: $(tail -3 "$S/slurmd.log")"; finish; }

small_study "$WORK/annual" 300 annual
reference_run
run_cli 0 tile study.ovd --points 100
export OVARDIX_CLI=$CLI
jid=$(sbatch --parsable --array=1-3 "$OVD_SOURCE_DIR/scripts/slurm/run-tiles.sbatch" study.ovd) || fail "sbatch array"
sbatch --parsable --dependency=afterok:"$jid" "$OVD_SOURCE_DIR/scripts/slurm/merge.sbatch" study.ovd >/dev/null \
  || fail "sbatch merge"
for i in $(seq 240); do
  [ -z "$(squeue -h 2>/dev/null)" ] && break
  sleep 1
done
expect_eq "jobs left in the queue" "" "$(squeue -h 2>&1)"
grep -q 'Sloučeny 3 dlaždice (300 bodů)' ovardix-slouceni-*.log || fail "merge job: $(cat ovardix-slouceni-*.log)"
same_as_reference "Slurm job array"

# ovardix-mpi under srun: the two tasks are the ranks of one MPI job.
MPI_BIN=${OVARDIX_MPI_BIN:?path to ovardix-mpi}
export LSAN_OPTIONS="suppressions=$OVD_SOURCE_DIR/tests/e2e/lsan_openmpi.supp:print_suppressions=0"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"
export OMPI_MCA_mca_base_component_disable_dlclose=1 PMIX_MCA_mca_base_component_disable_dlclose=1
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 OMPI_MCA_btl=self,vader
rm -rf study_dlazdice; clear_outputs
run_cli 0 tile study.ovd --points 100
jid=$(sbatch --parsable -n 2 -o srun.log --wrap "srun --mpi=pmix $MPI_BIN study.ovd") || fail "sbatch srun"
for i in $(seq 240); do
  [ -z "$(squeue -h 2>/dev/null)" ] && break
  sleep 1
done
expect_eq "ranks that merged" "1" "$(grep -c 'Výsledky 3 dlaždic byly sloučeny.' srun.log)"
expect_eq "tiles computed" "3" "$(grep -c ' spočtena, spočteno dlaždic' srun.log)"
same_as_reference "srun ovardix-mpi"
finish
