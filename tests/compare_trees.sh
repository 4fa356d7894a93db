# Sourced by the scripts that run one study with two programs and compare what they wrote.
# compare_trees WIDTH REFERENCE_DIR CANDIDATE_DIR CANDIDATE_NAME compares every file of the
# reference's run with the candidate's after the caller's `masked FILE OUT`; a pair that
# still differs is passed to the caller's `close_enough A B RELATIVE_NAME`, when it has one,
# before it counts. Uses $work for two scratch files and sets status=1 on any difference.
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
