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

finish() {
  if [ "$FAILS" -ne 0 ]; then echo "$FAILS check(s) failed" >&2; exit 1; fi
  echo "all checks passed"
}
