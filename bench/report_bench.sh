#!/usr/bin/env bash
# The time of the study report (by hand, not in CI): the example study as run-example.sh
# computes it, then the example with 30 000 reference points (a 150 x 200 lattice of 26 m x 20 m
# over the same area) computed by its main road. Each report is written as PDF and as ODT.
# Usage: bench/report_bench.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build=$(cd "${1:?build folder (scripts/build.sh release)}" && pwd)
work=${2:-$(mktemp -d)}
src=$(cd "$(dirname "$0")/.." && pwd)
cli=$build/cli/ovardix-cli
export OVARDIX_PROFILE=$work/profile.ini
mkdir -p "$work"

now() { date +%s.%N; }
took() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f s", b - a }'; }

report() {
  local label=$1; shift
  for out in zprava.pdf zprava.odt; do
    local t0; t0=$(now)
    "$cli" --quiet --yes report study.ovd "$@" --allow-stale --out $out
    echo "$label: report to $out in $(took "$t0") ($(stat -c %s $out) bytes)"
  done
}

# 1. The example study, all its steps.
mkdir -p "$work/example" && cd "$work/example"
cp -r "$src/examples/study/." .
cli_steps=$(sed -n '/# --- steps (begin) ---/,/# --- steps (end) ---/p' "$src/scripts/run-example.sh" | grep -v '^#' |
  sed "s#\"\$cli\"#\"$cli\"#")
eval "$cli_steps" >steps.log 2>&1
report "example (1 681 points)" --table rocni.dbf --table rocni_hodnoceni.dbf --table rocni_varianta_rozdil.dbf

# 2. 30 000 points: the grid, terrain, heights, conversion, coefficients and annual run.
mkdir -p "$work/large" && cd "$work/large"
cp -r "$src/examples/study/." .
for kv in "NovyRefer PocetX 150" "NovyRefer PocetY 200" "NovyRefer KrokX 26" "NovyRefer KrokY 20" \
  "VypocetRocni KrokVypoctu 2" "VypocetRocni KoncDobyPrek1 1"; do
  "$cli" --quiet set study.ovd $kv
done
t0=$(now)
for step in grid terrain convert coefficients run; do "$cli" --quiet --yes $step study.ovd; done
echo "large: main road in $(took "$t0")"
report "large ($(($(grep -c '^[0-9]' body.txt))) points)"
