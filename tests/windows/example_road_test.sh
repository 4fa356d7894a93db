#!/usr/bin/env bash
# Runs the example study's main road (grid, terrain and its check, heights of the points and
# of the sources, the checks of points and sources, convert, coefficients, the matrix export,
# the annual concentrations, dbf-export, isolines, daily, then dust: annual and daily; then
# the gas's annual run with group shares and its maximum run) once with the Linux ovardix-cli
# and once with ovardix-cli.exe under Wine, both in a folder with Czech letters in its name,
# and compares every file written byte for byte. The study runs without its coordinate
# system (the Windows build has no GIS library to write a .prj with). Masked as between two
# runs on one system: the DBF date (header bytes 1 to 3), the protocols' date lines and the
# project's section of signatures ([Podpisy], which holds the inputs' times of change). What
# the steps print to a file is compared without the carriage returns Windows puts before
# each line end.
#
# Usage: tests/windows/example_road_test.sh LINUX_CLI WINDOWS_EXE [WIDTH...]
#   WIDTH: sse2, avx2, avx512 (default: $OVARDIX_ROAD_WIDTHS, else each of them the
#   processor has); both builds run
#   with the same width, fixed by OVARDIX_VECTOR_WIDTH.
# Needs /usr/lib/wine/wine64 (or $WINE). Exits 0 when every output is identical, 1 naming
# the files that differ, 2 on bad usage.
set -euo pipefail

here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/tests/compare_trees.sh"
two_programs 20 linux exe "$@"
shift 2
wine=${WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "no Wine at $wine" >&2; exit 2; }
# OVARDIX_ROAD_WIDTHS (words) stands for widths not given as arguments.
if [ $# -eq 0 ] && [ -n "${OVARDIX_ROAD_WIDTHS:-}" ]; then
  read -r -a given <<<"$OVARDIX_ROAD_WIDTHS"
  vector_widths "${given[@]}"
else
  vector_widths "$@"
fi

work=$(mktemp -d)
# A fresh Wine prefix, offline: no Mono or Gecko installer at the first start.
export WINEPREFIX=$work/wine WINEDLLOVERRIDES=mscoree,mshtml= WINEDEBUG=-all
# Wine's server for the prefix is waited for: it writes there until it ends.
trap '"${wine%/*}/wineserver" -w 2>/dev/null; rm -rf "$work"' EXIT
study="$work/Studie Žďár"

# ovardix-cli.exe as a command: Wine starts it in the current folder (Z: is the root).
windows_cli() {
  "$wine" "$exe" "$@"
}
# A path as the Windows program sees it.
windows_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# The steps in a fresh copy of the example study at $study, with the command $1; the
# results go to $2. Both builds run in the same folder, since the outputs may name paths.
run_study() {
  local cli=$1
  rm -rf "$study"
  mkdir -p "$study"
  cp -r "$here/examples/study/." "$study/"
  (
    cd "$study"
    if [ "$cli" = windows_cli ]; then
      export OVARDIX_PROFILE=$(windows_path "$study/profile.ini")
    else
      export OVARDIX_PROFILE=$study/profile.ini
    fi
    # This Windows build has no GIS library: the study without its coordinate system (the
    # exports then write no .prj), on both systems.
    $cli set study.ovd Global SouradnicovySystem ""
    $cli --yes grid study.ovd
    $cli --yes terrain study.ovd
    $cli check-terrain study.ovd > kontrola_teren.txt
    $cli set study.ovd DopocetVysky VstSouradniceTxt body.txt
    $cli heights study.ovd
    $cli set study.ovd DopocetVysky VstSouradniceTxt zdroje.txt
    $cli heights study.ovd
    $cli check-points study.ovd > kontrola_body.txt
    $cli check-sources study.ovd > kontrola_zdroju.txt
    $cli --yes convert study.ovd
    $cli --yes coefficients study.ovd
    $cli --yes matrix-export study.ovd
    $cli run study.ovd
    $cli --yes dbf-export study.ovd
    $cli --yes isolines study.ovd
    $cli --yes daily study.ovd
    # dust
    $cli set study.ovd Global TypVypoctu 1
    $cli set study.ovd VypocetRocni VystDbf prach_rocni.dbf
    $cli run study.ovd
    $cli set study.ovd VypocetDenni VystDbf prach_denni.dbf
    $cli --yes daily study.ovd
    # the gas again: its annual run with group shares, and its maximum run
    $cli set study.ovd Global TypVypoctu 0
    $cli set study.ovd VypocetRocni PodilySkupinZdroju 1
    $cli set study.ovd VypocetRocni VystDbf rocni_podily_vysl.dbf
    $cli set study.ovd VypocetRocni VystDbfPodily rocni_podily.dbf
    $cli --yes run study.ovd
    $cli set study.ovd Global ZpusobVypoctu 1
    $cli set study.ovd VypocetRocni PodilySkupinZdroju 0
    $cli set study.ovd VypocetRocni VystDbf maximum.dbf
    $cli --yes run study.ovd
  ) >"$2.log" 2>&1 || { echo "the steps failed with $cli, see:" >&2; tail -5 "$2.log" >&2; exit 1; }
  mv "$study" "$2"
}

# A copy of a file with what a second run may change masked.
masked() {
  local file=$1 out=$2
  case "$file" in
    *.dbf|*.DBF) cp "$file" "$out"; printf '\0\0\0' | dd of="$out" bs=1 seek=1 count=3 conv=notrunc status=none ;;
    *.ovd) awk '/^\[/ { skip = ($0 == "[Podpisy]" || $0 == "[Podpisy]\r") } !skip' "$file" >"$out" ;;
    */kontrola_*.txt) tr -d '\r' <"$file" >"$out" ;;
    *) sed -E 's/^(Dne.ni datum :|Vypocet ze dne :).*$/\1 ***/' "$file" >"$out" ;;
  esac
}

status=0
for w in "${widths[@]}"; do
  export OVARDIX_VECTOR_WIDTH=$w
  run_study "$linux" "$work/$w-linux"
  run_study windows_cli "$work/$w-windows"
  compare_trees "$w" "$work/$w-linux" "$work/$w-windows" "Windows run"
  [ -z "${KEEP_RESULTS:-}" ] || cp -r "$work/$w-linux" "$work/$w-windows" "$KEEP_RESULTS/"
done
[ $status -ne 0 ] || echo "every output identical"
exit $status
