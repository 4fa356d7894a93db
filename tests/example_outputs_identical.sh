#!/usr/bin/env bash
# Runs the example study's main road (scripts/run-example.sh's steps), then the same study's
# annual run with group shares and its maximum run, with two ovardix-cli binaries, for every
# vector width this machine can run, and compares every file written byte for byte. The DBF
# date (header bytes 1 to 3), the protocols' date lines, the GeoPackages' times of change and
# the project's section of signatures of the computations' inputs ([Podpisy], which a build
# before it does not write) are masked; nothing else is.
#
# Usage: tests/example_outputs_identical.sh REFERENCE_CLI CANDIDATE_CLI [WIDTH...]
#   WIDTH: sse2, avx2, avx512 (default: each of them the processor has)
# Exits 0 when every output is identical, 1 naming the files that differ, 2 on bad usage.
# Example, against a build of an older commit:
#   git archive BASE | tar -x -C /tmp/base && (cd /tmp/base && scripts/build.sh release)
#   tests/example_outputs_identical.sh /tmp/base/build/cli/ovardix-cli build/cli/ovardix-cli
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/tests/compare_trees.sh"
two_programs 12 reference candidate "$@"
vector_widths "${@:3}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The steps, in a fresh copy of the example study, with the binary $1; the results go to $2.
# Both binaries run in the same folder, since the outputs may name paths.
run_study() {
  local cli=$1 dir=$work/study
  rm -rf "$dir"
  mkdir -p "$dir"
  cp -r "$here/examples/study/." "$dir/"
  (
    cd "$dir"
    export OVARDIX_PROFILE="$dir/profile.ini"
    steps=$(sed -n '/# --- steps (begin) ---/,/# --- steps (end) ---/p' "$here/scripts/run-example.sh" |
      grep -v '^#' | sed "s#\"\$cli\"#\"$cli\"#")
    eval "$steps"
    # the gas again: its annual run with group shares, and its maximum run
    "$cli" set study.ovd Global TypVypoctu 0
    "$cli" set study.ovd VypocetRocni PodilySkupinZdroju 1
    "$cli" set study.ovd VypocetRocni VystDbf rocni_podily_vysl.dbf
    "$cli" set study.ovd VypocetRocni VystDbfPodily rocni_podily.dbf
    "$cli" --yes run study.ovd
    "$cli" set study.ovd Global ZpusobVypoctu 1
    "$cli" set study.ovd VypocetRocni PodilySkupinZdroju 0
    "$cli" set study.ovd VypocetRocni VystDbf maximum.dbf
    "$cli" --yes run study.ovd
  ) >"$2.log" 2>&1 || { echo "the steps failed with $cli, see:" >&2; tail -5 "$2.log" >&2; exit 1; }
  mv "$dir" "$2"
}

# A copy of a file with what a second run may change masked: a DBF's date, a protocol's date
# lines, a GeoPackage's times of change of its tables, the project's signatures.
masked() {
  local file=$1 out=$2
  case "$file" in
    *.dbf|*.DBF) cp "$file" "$out"; printf '\0\0\0' | dd of="$out" bs=1 seek=1 count=3 conv=notrunc status=none ;;
    *.ovd) awk '/^\[/ { skip = ($0 == "[Podpisy]" || $0 == "[Podpisy]\r") } !skip' "$file" >"$out" ;;
    *.gpkg) perl -0777 -pe 's/\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z/0000-00-00T00:00:00.000Z/g' "$file" >"$out" ;;
    *) sed -E 's/^(Dne.ni datum :|Vypocet ze dne :).*$/\1 ***/' "$file" >"$out" ;;
  esac
}

status=0
for w in "${widths[@]}"; do
  export OVARDIX_VECTOR_WIDTH=$w
  run_study "$reference" "$work/$w-reference"
  run_study "$candidate" "$work/$w-candidate"
  compare_trees "$w" "$work/$w-reference" "$work/$w-candidate" "candidate's run"
done
[ $status -eq 0 ] && echo "every output identical"
exit $status
