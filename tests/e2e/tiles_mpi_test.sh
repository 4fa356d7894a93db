#!/usr/bin/env bash
# Tiled studies computed by ovardix-mpi under mpirun with 1, 2 and 3 ranks (3 and 7 tiles)
# and merged by rank 0: annual with group shares, maximum and dust equal the unsplit run
# apart from the dates. A rerun skips the tiles that are complete; a failing tile stops
# every rank with its message and exit status 1.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/tiles_lib.sh"
MPI_BIN=${OVARDIX_MPI_BIN:?path to ovardix-mpi}
# Open MPI keeps its own allocations to the end; CI runs as root.
export LSAN_OPTIONS="suppressions=$OVD_SOURCE_DIR/tests/e2e/lsan_openmpi.supp:print_suppressions=0"
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 OMPI_MCA_rmaps_base_oversubscribe=1
# the ranks of one machine talk through shared memory
export OMPI_MCA_btl=self,vader
# Plugins stay loaded and leaks are traced through Open MPI's frames (its libraries have no
# frame pointers), so that the suppressions know its allocations by their library.
export OMPI_MCA_mca_base_component_disable_dlclose=1 PMIX_MCA_mca_base_component_disable_dlclose=1
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}fast_unwind_on_malloc=0"

# mpi_run EXPECTED_STATUS RANKS: runs the study of the current folder, stderr in $ERR.
mpi_run() {
  mpirun --oversubscribe -n "$2" "$MPI_BIN" study.ovd >"$WORK/mpi.out" 2>"$WORK/mpi.err" </dev/null
  local rc=$?
  ERR=$(cat "$WORK/mpi.err")
  [ "$rc" = "$1" ] || fail "mpirun -n $2 exited $rc, expected $1: $ERR"
}

# study_by_mpi DIR MODE TILE_POINTS RANKS...: unsplit reference, then for each rank count a
# fresh tiling run by mpirun and merged.
study_by_mpi() {
  local dir=$1 mode=$2 per=$3; shift 3
  (
    FAILS=0
    small_study "$WORK/$dir" 300 "$mode"
    reference_run
    for n in "$@"; do
      rm -rf study_dlazdice; clear_outputs
      run_cli 0 tile study.ovd --points "$per"
      mpi_run 0 "$n"
      same_as_reference "$mode, tiles of $per points, mpirun -n $n"
      case "$ERR" in *"spočteno dlaždic: $(ls -d study_dlazdice/*/ | wc -l) / "*) ;; *) fail "no progress: $ERR" ;; esac
    done
    exit "$FAILS"
  ) || FAILS=$((FAILS + 1))
}

study_by_mpi annual annual 43 2 3
study_by_mpi maximum maximum 100 1
study_by_mpi dust dust 43 3

# A rerun finds every tile complete and merges again.
cd "$WORK/annual"
clear_outputs
mpi_run 0 2
expect_eq "tiles skipped" "7" "$(grep -c 'byla již spočtena' "$WORK/mpi.err")"
same_as_reference "rerun"

# A tile that fails stops all ranks with its message; nothing is merged.
rm -rf study_dlazdice; clear_outputs
run_cli 0 tile study.ovd --points 100
rm study_dlazdice/002/study.ovd
mpi_run 1 2
case "$ERR" in *"Dlaždice 002"*) ;; *) fail "the failing tile is not named: $ERR" ;; esac
[ -e rocni.dbf ] && fail "a result table was merged after a failed tile"
finish
