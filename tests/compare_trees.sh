# Sourced by the scripts that run one study with two programs and compare what they wrote.
# compare_trees WIDTH REFERENCE_DIR CANDIDATE_DIR CANDIDATE_NAME compares every file of the
# reference's run with the candidate's after the caller's `masked FILE OUT`. Uses $work for
# two scratch files and sets status=1 on any difference.
# two_programs LAST NAME1 NAME2 ARG... sets the variables NAME1 and NAME2 to the full paths of
# the first two ARGs, a program and a file; without them it prints the script's usage (its
# lines 2 to LAST) and exits 2.
# vector_widths [WIDTH...] sets `widths` to the widths given (exits 2 naming an unknown one),
# or to each width this processor can run.
two_programs() {
  local last=$1 one=$2 two=$3
  shift 3
  if [ $# -lt 2 ] || [ ! -x "$1" ] || [ ! -f "$2" ]; then
    sed -n "2,${last}p" "$0" >&2
    exit 2
  fi
  printf -v "$one" '%s' "$(realpath "$1")"
  printf -v "$two" '%s' "$(realpath "$2")"
}

vector_widths() {
  widths=("$@")
  if [ ${#widths[@]} -eq 0 ]; then
    widths=(sse2)
    grep -qw avx2 /proc/cpuinfo && grep -qw fma /proc/cpuinfo && widths+=(avx2)
    grep -qw avx512f /proc/cpuinfo && grep -qw avx512dq /proc/cpuinfo && widths+=(avx512)
  fi
  local w
  for w in "${widths[@]}"; do
    case "$w" in sse2|avx2|avx512) ;; *) echo "unknown width: $w" >&2; exit 2 ;; esac
  done
}

compare_trees() {
  local w=$1 ref=$2 cand=$3 name=$4 count=0 f rel other extra
  while IFS= read -r -d '' f; do
    rel=${f#"$ref/"}
    other="$cand/$rel"
    count=$((count + 1))
    if [ ! -f "$other" ]; then
      echo "$w: $rel is missing from the $name"
      status=1
      continue
    fi
    masked "$f" "$work/a" && masked "$other" "$work/b"
    cmp -s "$work/a" "$work/b" && continue
    echo "$w: $rel differs"
    status=1
  done < <(find "$ref" -type f -print0 | sort -z)
  extra=$(comm -13 <(cd "$ref" && find . -type f | sort) <(cd "$cand" && find . -type f | sort))
  if [ -n "$extra" ]; then
    echo "$w: only in the $name: $extra"
    status=1
  fi
  echo "$w: $count files compared"
}
