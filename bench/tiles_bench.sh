#!/usr/bin/env bash
# Tiled studies beyond one run, on the example study (by hand, not in CI):
#  1. 100 000 reference points written here (the grid tool stops at 30 000), tiled into
#     four tiles, computed, merged, and isolines drawn from the merged table;
#  2. the example scaled to 60 000 points and 200 sources, two tiles: mpirun -n 2
#     ovardix-mpi against the same tiles computed one after the other by "ovardix-cli run"
#     (2 threads each), which is the overhead of tiling and MPI.
# Usage: bench/tiles_bench.sh BUILD_DIR [WORK_DIR] [PARTS]; PARTS "1 2" by default.
# OVD_BENCH_STEP sets KrokVypoctu (0: 0.5°, 1: 1°, 2: 3°; default 2).
set -euo pipefail
build=$(cd "${1:?build folder (scripts/build.sh release)}" && pwd)
work=${2:-$(mktemp -d)}
parts=${3:-1 2}
src=$(cd "$(dirname "$0")/.." && pwd)
cli=$build/cli/ovardix-cli
mpi=$build/mpi/ovardix-mpi
step=${OVD_BENCH_STEP:-2}
export OVARDIX_PROFILE=$work/profile.ini OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
mkdir -p "$work"

now() { date +%s.%N; }
took() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f s", b - a }'; }

# study DIR POINTS SOURCES: the example with POINTS points on a regular lattice over its
# terrain and, for SOURCES > 0, that many sources made from its point, area and line sources.
study() {
  mkdir -p "$1" && cd "$1"
  cp -r "$src/examples/study/." .
  awk -v n="$2" 'BEGIN { nx = int(sqrt(n * 1.25)) + 1; dx = 4800 / nx; ny = int((n + nx - 1) / nx); dy = 4800 / ny
    for (i = 0; i < n; i++) printf "%d, %.2f, %.2f, 0.000000, 1.500000\n", i + 1, 600 + (i % nx) * dx, 600 + int(i / nx) * dy }' > body.txt
  if [ "$3" -gt 0 ]; then
    awk -v n="$3" -v seed=7 'BEGIN { srand(seed)
      for (i = 1; i <= n; i++) { x = 1200 + int(rand() * 3600); y = 1200 + int(rand() * 3600); t = (i % 7 == 0) ? 3 : (i % 5 == 0) ? 2 : 1
        printf "%d, %d, %d, 0, %d, 0, %d ;zdroj %d\n", i, x, y, t, i % 12 + 1, i > "zdroje.txt"
        if (t == 1) printf "%d, 0.85, 35, 5.2, 180, 1.2, 8, 0.45, 16, 0\n", i > "popis.txt"
        else if (t == 2) printf "%d, 2.5, 5, 0, 2, 0, 0, 0.6, 10, 50\n", i > "popis.txt"
        else printf "%d, 0.002, %d, %d, %d, %d, 12, 2, 0.9, 24\n", i, x - 300, y - 200, x + 300, y + 200 > "popis.txt" } }'
  fi
  "$cli" --quiet --yes terrain study.ovd
  for kv in "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KrokVypoctu $step" "VypocetRocni KoncDobyPrek1 1" \
            "Izolinie VstDbf rocni.dbf"; do
    "$cli" set study.ovd $kv
  done
}

if [[ " $parts " == *" 1 "* ]]; then
  echo "== 100 000 points, example sources"
  ( study "$work/p100k" 100000 0
    t=$(now); "$cli" --quiet tile study.ovd >/dev/null; echo "tile: $(took "$t")"
    t=$(now)
    for d in study_dlazdice/*/; do (cd "$d" && "$cli" --quiet run study.ovd); done
    echo "4 tiles, run one after the other: $(took "$t")"
    t=$(now); "$cli" --quiet --yes merge study.ovd; echo "merge: $(took "$t")"
    echo "merged rows: $("$cli" dbf-show rocni.dbf | tail -n +2 | wc -l)"
    t=$(now); "$cli" --quiet --yes isolines study.ovd; echo "isolines from the merged table: $(took "$t")"
    ls -l rocni.dbf rocni_izolinie.shp )
fi

if [[ " $parts " == *" 2 "* ]]; then
  echo "== 60 000 points, 200 sources, two tiles"
  ( study "$work/p60k" 60000 200
    "$cli" --quiet tile study.ovd >/dev/null
    t=$(now)
    for d in study_dlazdice/*/; do (cd "$d" && "$cli" --quiet run study.ovd); done
    "$cli" --quiet --yes merge study.ovd
    echo "ovardix-cli run per tile (2 threads) + merge: $(took "$t")"
    mv rocni.dbf by_run.dbf
    rm -f study_dlazdice/*/hotovo.txt
    t=$(now)
    mpirun --oversubscribe -n 2 "$mpi" study.ovd 2>mpi.err
    echo "mpirun -n 2 ovardix-mpi (tiles + merge): $(took "$t")"
    cmp <(tail -c +5 by_run.dbf) <(tail -c +5 rocni.dbf) && echo "same table both ways" )
fi
