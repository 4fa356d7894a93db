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

finish() {
  if [ "$FAILS" -ne 0 ]; then echo "$FAILS check(s) failed" >&2; exit 1; fi
  echo "all checks passed"
}
