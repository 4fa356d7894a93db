# Helpers for the end-to-end runs of ovardix-cli. Source it; $CLI is the runner.
set -u
CLI=${1:?path to ovardix-cli}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export OVARDIX_PROFILE="$WORK/profile.ini"
FAILS=0

fail() { echo "FAIL: $*" >&2; FAILS=$((FAILS + 1)); }

# expect_eq WHAT EXPECTED ACTUAL
expect_eq() {
  if [ "$2" != "$3" ]; then fail "$1: expected [$2], got [$3]"; fi
}

# run_cli EXPECTED_STATUS ARGS...: runs the CLI, keeps stdout in $OUT and stderr in $ERR.
run_cli() {
  local want=$1; shift
  OUT=$("$CLI" "$@" 2>"$WORK/stderr" </dev/null); local rc=$?
  ERR=$(cat "$WORK/stderr")
  if [ "$rc" != "$want" ]; then fail "ovardix-cli $* exited $rc, expected $want; stderr: $ERR"; fi
}

# sloped_terrain FILE: a 60 x 50 terrain of 20 m cells rising to the east, as an ESRI text grid.
sloped_terrain() {
  {
    printf 'ncols 60\nnrows 50\nxllcorner 0\nyllcorner 0\ncellsize 20\nNODATA_value -9999\n'
    awk 'BEGIN { for (r = 0; r < 50; r++) { line = ""; for (c = 0; c < 60; c++) line = line (c ? " " : "") (300 + 2 * c + (r % 7)); print line } }'
  } >"$1"
}

# set_keys PROJECT "SECTION KEY VALUE"...: writes each key with `ovardix-cli set`.
set_keys() {
  local p=$1 kv; shift
  for kv in "$@"; do run_cli 0 set "$p" $kv; done
}

# example_study: the bundled example study in the current folder with its terrain converted
# and its coefficient matrices named; $P is its project file.
example_study() {
  cp -r "$OVD_SOURCE_DIR/examples/study/." .
  P=study.ovd
  run_cli 0 --yes terrain $P
  set_keys $P "Global VstThetaBin theta.bin" "Global VstDeltaBin delta.bin" "Global VstZmaxBin zmax.bin" \
    "Koeficienty VzdalenostBodu 50"
}

# small_study [POINT_LINE...]: in the current folder a sloped terrain, reference points 1-12 on
# a 4 x 3 grid (then the given lines), a stack (1) and an area source (2), and study.ovd ($P)
# naming them, the binary files and the coefficient matrices. add_source appends a source.
small_study() {
  sloped_terrain teren.txt
  {
    echo ';SOUBOR S BODY'
    local n=1 x y line
    for y in 100 400 700; do for x in 150 450 750 1050; do echo "$n, $x, $y, 320, 1.5;"; n=$((n + 1)); done; done
    for line in "$@"; do echo "$line"; done
  } >body.txt
  printf ';SOUBOR S BODY\n1, 500, 400, 310, 1, 0, 1;\n2, 900, 800, 330, 2, 0, 1;\n' >zdroje.txt
  printf ';SOUBOR S POPISEM (bodů)\n1, 12.5, 150, 350, 150, 6, 20, 0.75, 24, 0;\n2, 1.2, 2, 0, 0, 0, 0, 0.5, 24, 10;\n' \
    >popis.txt
  P=study.ovd
  set_keys $P "Global VstReferBodTxt body.txt" "Global VstZdrojBodTxt zdroje.txt" "Global VstZdrojPopTxt popis.txt" \
    "Global VstReferBodBin body.bin" "Global VstZdrojBodBin zdroje.bin" "Global TypVypoctu 0" \
    "Global VstVyskoTxt teren.txt" "Global VstVyskoBin teren.bin" "PrevodVyskopisu TypZapisu 0" \
    "Global VstThetaBin theta.bin" "Global VstDeltaBin delta.bin" "Global VstZmaxBin zmax.bin"
}
add_source() { echo "$1" >>zdroje.txt; echo "$2" >>popis.txt; }

finish() {
  if [ "$FAILS" -ne 0 ]; then echo "$FAILS check(s) failed" >&2; exit 1; fi
  echo "all checks passed"
}
