#!/usr/bin/env bash
# Tiling a study whose points file has a line the conversion skips, and tiling a computed
# study again: the tiles leave the line out as the unsplit run does (so they merge), a split
# that would remove computed results asks first (unattended it stops unless --yes) and names
# the tiles, and two tile runs on one study do not mix their trees.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/tiles_lib.sh"

cd "$WORK"
small_study s 40 annual
# Point 21's X is no number: the conversion skips the line, the tiles must too.
sed -i '0,/^[ \t]*21,/s/^\([ \t]*21,\)[^,]*,/\1 nan,/' body.txt
grep -q '^ *21, nan,' body.txt || fail "the study has no unreadable line"
reference_run
run_cli 0 tile study.ovd --points 15
expect_eq "tiles" "3" "$(echo "$OUT" | wc -l)"
grep -q '^VynechanychRadku=1$' study_dlazdice/manifest.txt || fail "the skipped line is not counted"
grep -q ' nan,' study_dlazdice/*/body.txt && fail "a tile holds the unreadable line"
run_tiles_one_by_one
run_cli 0 merge study.ovd
same_as_reference "tiles of a study with an unreadable line"

# Tiling again into other tiles: every tile's results would go (001 gets other points).
manifest=$(md5sum <study_dlazdice/manifest.txt)
run_cli 1 tile study.ovd --points 20
case "$ERR" in *"dlaždic 001, 002, 003"*"--yes"*) ;; *) fail "unattended re-tiling: $ERR" ;; esac
expect_eq "the old tiles stay" "$manifest" "$(md5sum <study_dlazdice/manifest.txt)"
[ -e study_dlazdice/003/hotovo.txt ] || fail "a refused split removed results"
run_cli 0 --yes tile study.ovd --points 20
case "$ERR" in *"Odstraněny výsledky dlaždic 001, 002, 003."*) ;; *) fail "results removed without naming them: $ERR" ;; esac
[ -e study_dlazdice/003 ] && fail "a tile of the earlier split stays"
[ -e study_dlazdice/001/hotovo.txt ] && fail "tile 001 kept results of other points"
# The same split again removes nothing and asks nothing.
run_cli 0 tile study.ovd --points 20
ls -d study_dlazdice.* 2>/dev/null && fail "a staging tree is left beside the tiles"

# Two tile runs at once: one is refused or waits its turn; the tree is one split's.
for i in 1 2 3; do
  "$CLI" --yes tile study.ovd --points 10 >/dev/null 2>&1 &
  "$CLI" --yes tile study.ovd --points 13 >/dev/null 2>&1 &
  wait
  n=$(ls -d study_dlazdice/[0-9]* | wc -l)
  per=$(sed -n 's/^BoduNaDlazdici=//p' study_dlazdice/manifest.txt)
  case "$per:$n" in 10:4|13:3) ;; *) fail "concurrent tile runs left $n tiles with $per points each" ;; esac
done
finish
