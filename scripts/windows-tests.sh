#!/usr/bin/env bash
# scripts/windows-tests.sh [--no-build|--build-only]: the Windows build tested under Wine.
#   1. builds build-windows/ (scripts/build.sh windows: the unit-test programs, then
#      ovardix-cli.exe);
#   2. makes a throwaway Wine prefix (removed at the end) and runs every cross-built unit-test
#      program in it, model_tests once at each vector width this processor runs (the variable
#      OVARDIX_VECTOR_WIDTH; the engine's own tests go through every width in each run);
#   3. runs the Windows roads, tests/windows/*.sh, as
#        tests/windows/NAME.sh LINUX_CLI WINDOWS_EXE
#      with WINE (the wine64 program) and WINEPREFIX (the prepared prefix) in the environment;
#      a road exits 0 when it passes, 77 when it cannot run here (it says why), else it failed.
#      LINUX_CLI is the Linux ovardix-cli the outputs are compared with: $OVARDIX_LINUX_CLI, else
#      the one of build-asan/ (CI's, scripts/test.sh) or of build/, whichever is newer.
# One line per program and road; a failure prints the failing tests' output. Exits non-zero
# when anything failed.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=1 run=1
case "${1:-}" in
  --no-build) build=0 ;;
  --build-only) run=0 ;;
  "") ;;
  *) echo "usage: scripts/windows-tests.sh [--no-build|--build-only]" >&2; exit 2 ;;
esac

unit_programs=(common/common_tests cmdparams/OKRA_CMDParams_tests inputs/inputs_tests windrose/windrose_tests
               model/model_tests geotools/geotools_tests tiles/tiles_tests)
exe=build-windows/cli/ovardix-cli.exe
# Until the Windows roads are in the tree, ovardix-cli.exe is not expected to link.
exe_expected=0
[ ! -e tests/windows/example_road_test.sh ] || exe_expected=1

started=$SECONDS
if [ $build -eq 1 ]; then
  targets=()
  for p in "${unit_programs[@]}"; do targets+=("$(basename "$p")"); done
  echo "== building the Windows unit tests (build-windows/)"
  nice -n 19 scripts/build.sh windows "${targets[@]}"
  echo "== building ovardix-cli.exe"
  if ! nice -n 19 scripts/build.sh windows ovardix-cli > build-windows/ovardix-cli-build.log 2>&1; then
    if [ $exe_expected -eq 1 ]; then
      cat build-windows/ovardix-cli-build.log
      echo "FAIL ovardix-cli.exe does not build" >&2
      exit 1
    fi
    rm -f "$exe"
    echo "SKIP ovardix-cli.exe does not link yet (build-windows/ovardix-cli-build.log); the Windows roads are left out"
  fi
  echo "== built in $((SECONDS - started)) s"
fi
[ $run -eq 1 ] || exit 0

WINE=${WINE:-/usr/lib/wine/wine64}
[ -x "$WINE" ] || WINE=$(command -v wine64 || true)
if [ -z "$WINE" ]; then
  echo "FAIL wine64 is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
WINESERVER=$(dirname "$WINE")/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || true)
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/ovardix-wine.XXXXXX")
# Offline first start: no .NET or HTML engine to download; Wine's own chatter off.
export WINE WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
# The one shared library of the tree (OKRA_CMDParams) loads the compiler's runtime DLLs.
runtime=()
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  found=$(x86_64-w64-mingw32-g++-posix -print-file-name=$dll 2>/dev/null || true)
  [ ! -e "$found" ] || runtime+=("Z:$(dirname "$(realpath "$found")" | tr / '\\')")
done
WINEPATH=$(IFS=';'; echo "${runtime[*]}")
export WINEPATH
logs=build-windows/wine-logs
rm -rf "$logs"
mkdir -p "$logs"
cleanup() {
  [ -z "$WINESERVER" ] || WINEPREFIX=$WINEPREFIX "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
t=$SECONDS
"$WINE" wineboot --init > "$logs/wineboot.log" 2>&1 || true
[ -z "$WINESERVER" ] || "$WINESERVER" -w
echo "== Wine prefix $WINEPREFIX made in $((SECONDS - t)) s"

# The widths of the processor, as model/vector_width.cpp tells them (x86-64-v3 and -v4).
flags=" $(grep -m1 '^flags' /proc/cpuinfo | cut -d: -f2) "
has() { for f in "$@"; do [[ "$flags" == *" $f "* ]] || return 1; done; }
widths=(sse2)
! has avx2 fma bmi1 bmi2 movbe f16c || widths+=(avx2)
! has avx512f avx512bw avx512cd avx512dq avx512vl || widths+=(avx512)

failed=()
# run LABEL LOG PROGRAM [VAR=VALUE...]: one unit-test program under Wine, its summary on one line.
run() {
  local label=$1 log=$2 program=$3
  shift 3
  local t=$SECONDS rc=0
  env "$@" timeout 1800 "$WINE" "$program" --gtest_color=no > "$log" 2>&1 || rc=$?
  sed -i 's/\r$//' "$log"  # the console's line ends
  local passed skipped failures
  passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -1)
  skipped=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?,.*/\1/p' "$log" | tail -1)
  failures=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?,.*/\1/p' "$log" | tail -1)
  local counts="${passed:-0} passed, ${skipped:-0} skipped, ${failures:-0} failed"
  if [ $rc -eq 0 ] && [ -n "$passed" ]; then
    echo "PASS $label: $counts, $((SECONDS - t)) s"
    # Each skipped test with its reason (the line before its SKIPPED line).
    awk '/^\[ RUN      \]/ { why = "" } !/^\[/ { why = $0 }
         /^\[  SKIPPED \] [A-Za-z_].* \([0-9]+ ms\)$/ { print "    skipped " $4 ": " why }' "$log"
  else
    echo "FAIL $label: $counts, exit $rc, $((SECONDS - t)) s (whole output: $log)"
    # The output of each failed test, from its RUN line to its FAILED line.
    awk '/^\[ RUN      \]/ { buf = $0; keep = 1; next }
         keep { buf = buf "\n" $0 }
         /^\[       OK \]|^\[  SKIPPED \]/ { keep = 0 }
         /^\[  FAILED  \] [A-Za-z_]/ && keep { print buf; keep = 0 }' "$log" | sed 's/^/    /'
    [ -z "$failures" ] && tail -20 "$log" | sed 's/^/    /'
    failed+=("$label")
  fi
}

echo "== unit tests under Wine (vector widths here: ${widths[*]})"
for p in "${unit_programs[@]}"; do
  name=$(basename "$p")
  program=build-windows/$p.exe
  if [ ! -e "$program" ]; then
    echo "FAIL $name: build-windows/$p.exe is missing"
    failed+=("$name")
    continue
  fi
  if [ "$name" = model_tests ]; then
    for w in "${widths[@]}"; do
      run "$name at $w" "$logs/$name-$w.log" "$program" OVARDIX_VECTOR_WIDTH="$w"
    done
  else
    run "$name" "$logs/$name.log" "$program"
  fi
done

echo "== Windows roads (tests/windows/)"
linux_cli=${OVARDIX_LINUX_CLI:-}
if [ -z "$linux_cli" ]; then
  for c in build-asan/cli/ovardix-cli build/cli/ovardix-cli; do
    [ -x "$c" ] || continue
    [ -n "$linux_cli" ] && [ ! "$c" -nt "$linux_cli" ] || linux_cli=$c
  done
fi
shopt -s nullglob
roads=(tests/windows/*.sh)
if [ ${#roads[@]} -eq 0 ]; then
  echo "SKIP no Windows roads in tests/windows/"
elif [ ! -e "$exe" ]; then
  echo "SKIP the Windows roads (${#roads[@]}): no ovardix-cli.exe"
elif [ -z "$linux_cli" ]; then
  echo "FAIL the Windows roads need a Linux ovardix-cli (scripts/build.sh release ovardix-cli, or OVARDIX_LINUX_CLI)"
  failed+=("tests/windows")
else
  for road in "${roads[@]}"; do
    name=$(basename "$road" .sh)
    t=$SECONDS rc=0
    "$road" "$(realpath "$linux_cli")" "$root/$exe" > "$logs/$name.log" 2>&1 || rc=$?
    if [ $rc -eq 0 ]; then
      echo "PASS $name, $((SECONDS - t)) s"
    elif [ $rc -eq 77 ]; then
      echo "SKIP $name: $(tail -1 "$logs/$name.log")"
    else
      echo "FAIL $name: exit $rc, $((SECONDS - t)) s (whole output: $logs/$name.log)"
      tail -40 "$logs/$name.log" | sed 's/^/    /'
      failed+=("$name")
    fi
  done
fi

echo "== Windows tests: $((SECONDS - started)) s in all"
if [ ${#failed[@]} -gt 0 ]; then
  echo "Windows tests FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "Windows tests passed"
