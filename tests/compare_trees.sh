# Sourced by the scripts that run one study with two programs and compare what they wrote.
# compare_trees WIDTH REFERENCE_DIR CANDIDATE_DIR CANDIDATE_NAME compares every file of the
# reference's run with the candidate's after the caller's `masked FILE OUT`; a pair that
# still differs is passed to the caller's `close_enough A B RELATIVE_NAME`, when it has one,
# before it counts. Uses $work for two scratch files and sets status=1 on any difference.
# vector_widths [WIDTH...] sets `widths` to the widths given (exits 2 naming an unknown one),
# or to each width this processor can run.
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
    if declare -F close_enough >/dev/null && close_enough "$work/a" "$work/b" "$rel"; then
      continue
    fi
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
