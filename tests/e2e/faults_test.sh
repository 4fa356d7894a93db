#!/usr/bin/env bash
# Fault harness: ovardix-cli killed at random moments (the process, and its whole process
# group with the child that renames a set), on a full disk, and two writers at once. After
# every fault each output set must be wholly the old one or wholly the new one (never lost,
# never mixed; a set a group kill cut is finished by the next run that locks it), and the
# next complete run leaves no temporary, journal or lock file behind. Covers convert,
# dbf-export, isolines, gis-export, map, tile and merge. Prints its figures; any lost or mixed set
# fails the test.
. "$(dirname "$0")/lib.sh"
CLI=$(cd "$(dirname "$CLI")" && pwd)/$(basename "$CLI")  # the runs change folders
MAKE="python3 $(cd "$(dirname "$0")" && pwd)/data/make_result_table.py"
KILLS=${OVD_FAULT_KILLS:-40}
GROUP_KILLS=${OVD_FAULT_GROUP_KILLS:-24}
NEWER_KILLS=${OVD_FAULT_NEWER_KILLS:-24}
MERGE_KILLS=${OVD_FAULT_MERGE_KILLS:-16}
FULLS=${OVD_FAULT_FULLS:-24}
RANDOM=${OVD_FAULT_SEED:-4242}

runs=0 lost=0 mixed=0 leftovers=0

hashes() { for f in "$@"; do if [ -f "$f" ]; then md5sum <"$f" | cut -c1-32; else echo missing; fi; done | tr '\n' ' '; }

# judge LABEL STATE_A STATE_B FILES...: the files must all be in state A or all in state B.
judge() {
  local label=$1 a=$2 b=$3; shift 3
  # A killed run's set may still be finishing its renames in the child that holds its locks.
  local f; for f in "$@"; do [ -e "$f.ovdlock" ] && flock -w 10 "$f.ovdlock" true 2>/dev/null; done
  local now; now=$(hashes "$@")
  runs=$((runs + 1))
  if [ "$now" = "$a" ] || [ "$now" = "$b" ]; then return 0; fi
  if [[ "$now" == *missing* ]]; then lost=$((lost + 1)); else mixed=$((mixed + 1)); fi
  fail "$label: outputs are neither the old nor the new set ($now)"
}

count_leftovers() {
  local n; n=$(find "$1" -name '*.ovdtmp.*' -o -name '*.ovdlock' -o -name '*.ovdjournal' -o -name '*.ovdnew' \
    -o -name '*.ovdold' -o -name '.*.ovd-*' | wc -l)
  if [ "$n" -ne 0 ]; then
    leftovers=$((leftovers + n))
    fail "$2: $n temporary, journal or lock file(s) left: $(find "$1" -name '*.ovdtmp.*' -o -name '*.ovdlock' -o -name '*.ovdjournal' | head -3)"
  fi
}

# The state of a tiled study's tiles: its list and every tile's project and points.
tree_state() {
  local d=$1
  if [ ! -e "$d/manifest.txt" ]; then echo missing; return; fi
  (cd "$d" && find . -name manifest.txt -o -name study.ovd -o -name body.txt | sort | xargs md5sum | md5sum | cut -c1-32)
}

# run_killed WHO CMD...: runs CMD in its own process group and kills it (WHO: the process or
# the whole group) after a random moment.
run_killed() {
  local who=$1; shift
  setsid "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "0.$(printf '%03d' $((RANDOM % 400)))"
  if [ "$who" = group ]; then kill -9 -- "-$pid" 2>/dev/null; else kill -9 "$pid" 2>/dev/null; fi
  wait "$pid" 2>/dev/null
}

# --- A study with two input variants whose outputs differ in every file ---------------
S="$WORK/s"
mkdir -p "$S"
cp -r "$OVD_SOURCE_DIR/examples/study/." "$S/"
cd "$S"
head -n -40 body.txt >bodyB.txt
cp study.ovd a.ovd
cp study.ovd b.ovd
"$CLI" set b.ovd Global VstReferBodTxt bodyB.txt >/dev/null
"$CLI" set b.ovd PrevodSouboru TriditPodleAlfa 0 >/dev/null
$MAKE tabA.dbf 30 >/dev/null
$MAKE tabB.dbf 24 >/dev/null
for p in a b; do
  t=tabA.dbf; [ $p = b ] && t=tabB.dbf
  "$CLI" set $p.ovd DbfExport VstDbf $t >/dev/null
  # A MapInfo pair: a shapefile is named after its table, so the two variants' tables would
  # give two different sets.
  "$CLI" set $p.ovd DbfExport ZapisGis 1 >/dev/null
  "$CLI" set $p.ovd DbfExport VystMif rocni.mif >/dev/null
  "$CLI" set $p.ovd DbfExport VystMid rocni.mid >/dev/null
  "$CLI" set $p.ovd Izolinie VstDbf $t >/dev/null
  "$CLI" set $p.ovd Global SouradnicovySystem EPSG:5514 >/dev/null
done

CONVERT_SET="body.bin zdroje.bin"
SHAPE_SET="rocni.mif rocni.mid"
ISO_SET="rocni_izolinie.shp rocni_izolinie.shx rocni_izolinie.dbf"
declare -A STATE
for tool in convert dbf-export isolines; do
  case $tool in convert) set_files=$CONVERT_SET ;; dbf-export) set_files=$SHAPE_SET ;; isolines) set_files=$ISO_SET ;; esac
  for p in a b; do
    "$CLI" --yes "$tool" $p.ovd >/dev/null 2>&1 || fail "$tool on variant $p failed"
    STATE[$tool.$p]=$(hashes $set_files)
  done
  [ "${STATE[$tool.a]}" != "${STATE[$tool.b]}" ] || fail "$tool: the two variants give the same outputs"
done

# The next complete run of each tool clears what the killed ones left, on both projects: a
# killed run may have left the lock of its own project file, which only the next run on that
# project takes and removes. a's runs come last, so a's outputs stay.
runs_after_kills() {
  local p tool
  for p in b a; do
    for tool in convert dbf-export isolines; do "$CLI" --yes "$tool" $p.ovd >/dev/null 2>&1 || fail "$tool on $p $1"; done
  done
  count_leftovers "$S" "$1"
}

# --- kill -9 at random moments ----------------------------------------------------------
for i in $(seq "$KILLS"); do
  case $((i % 3)) in 0) tool=convert files=$CONVERT_SET ;; 1) tool=dbf-export files=$SHAPE_SET ;; 2) tool=isolines files=$ISO_SET ;; esac
  p=a; [ $((i % 2)) = 0 ] && p=b
  "$CLI" --yes "$tool" $p.ovd >/dev/null 2>&1 &
  pid=$!
  sleep "0.$(printf '%03d' $((RANDOM % 400)))"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  judge "kill -9 during $tool" "${STATE[$tool.a]}" "${STATE[$tool.b]}" $files
done
runs_after_kills "after the kills"
echo "kill -9: $KILLS runs"

# --- kill -9 of the whole process group, the renaming child too ------------------------
# What the next run finds: it locks the outputs (and so finishes a cut set) and is told No.
for i in $(seq "$GROUP_KILLS"); do
  case $((i % 3)) in 0) tool=convert files=$CONVERT_SET ;; 1) tool=dbf-export files=$SHAPE_SET ;; 2) tool=isolines files=$ISO_SET ;; esac
  p=a; [ $((i % 2)) = 0 ] && p=b
  run_killed group "$CLI" --yes "$tool" $p.ovd
  "$CLI" --no "$tool" $p.ovd >/dev/null 2>&1
  judge "group kill during $tool" "${STATE[$tool.a]}" "${STATE[$tool.b]}" $files
done
runs_after_kills "after the group kills"
echo "kill -9 of the process group: $GROUP_KILLS runs"

# --- the newer tools: gis-export, map, tile ----------------------------------------------
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
"$CLI" --yes terrain a.ovd >/dev/null 2>&1 || fail "terrain for the tiles"
for p in a b; do
  for kv in "Global VstThetaBin theta.bin" "Global VstDeltaBin delta.bin" "Global VstZmaxBin zmax.bin" \
            "Global VstVyskoBin teren.bin" "VypocetRocni VystDbf rocni.dbf"; do
    "$CLI" set $p.ovd $kv >/dev/null
  done
done
cp a.ovd t.ovd
for p in a b; do
  "$CLI" --yes gis-export $p.ovd --format geojson --out rocni.geojson >/dev/null 2>&1 || fail "gis-export on variant $p"
  STATE[gis.$p]=$(hashes rocni.geojson)
  t=tabA.dbf; [ $p = b ] && t=tabB.dbf
  "$CLI" --yes map $p.ovd --table $t --out mapa.png >/dev/null 2>&1 || fail "map on variant $p"
  STATE[map.$p]=$(hashes mapa.png)
done
n=500; "$CLI" --yes tile t.ovd --points $n >/dev/null 2>&1 || fail "tile by $n"; STATE[tile.a]=$(tree_state t_dlazdice)
n=700; "$CLI" --yes tile t.ovd --points $n >/dev/null 2>&1 || fail "tile by $n"; STATE[tile.b]=$(tree_state t_dlazdice)
[ "${STATE[tile.a]}" != "${STATE[tile.b]}" ] || fail "tile: the two splits give the same tree"
for i in $(seq "$NEWER_KILLS"); do
  p=a; [ $((i % 2)) = 0 ] && p=b
  who=process; [ $((i % 4)) -ge 2 ] && who=group
  case $((i % 3)) in
    0) run_killed $who "$CLI" --yes gis-export $p.ovd --format geojson --out rocni.geojson
       judge "$who kill during gis-export" "${STATE[gis.a]}" "${STATE[gis.b]}" rocni.geojson ;;
    1) t=tabA.dbf; [ $p = b ] && t=tabB.dbf
       run_killed $who "$CLI" --yes map $p.ovd --table $t --out mapa.png
       judge "$who kill during map" "${STATE[map.a]}" "${STATE[map.b]}" mapa.png ;;
    2) n=500; [ $p = b ] && n=700
       run_killed $who "$CLI" --yes tile t.ovd --points $n
       runs=$((runs + 1))
       now=$(tree_state t_dlazdice)
       if [ "$now" != "${STATE[tile.a]}" ] && [ "$now" != "${STATE[tile.b]}" ]; then
         if [ "$now" = missing ]; then lost=$((lost + 1)); else mixed=$((mixed + 1)); fi
         fail "$who kill during tile: the tiles are neither split ($now)"
       fi ;;
  esac
done
# Two tile runs at once: one split wins whole (the other may be refused).
for i in $(seq 6); do
  "$CLI" --yes tile t.ovd --points 500 >/dev/null 2>&1 &
  "$CLI" --yes tile t.ovd --points 700 >/dev/null 2>&1 &
  wait
  runs=$((runs + 1))
  now=$(tree_state t_dlazdice)
  if [ "$now" != "${STATE[tile.a]}" ] && [ "$now" != "${STATE[tile.b]}" ]; then
    mixed=$((mixed + 1)); fail "concurrent tile: the tiles are neither split ($now)"
  fi
done
"$CLI" --yes gis-export a.ovd --format geojson --out rocni.geojson >/dev/null 2>&1 || fail "gis-export after the kills"
"$CLI" --yes map a.ovd --table tabA.dbf --out mapa.png >/dev/null 2>&1 || fail "map after the kills"
"$CLI" --yes tile t.ovd --points 500 >/dev/null 2>&1 || fail "tile after the kills"
count_leftovers "$S" "after the newer tools' kills"
echo "newer tools (gis-export, map, tile) killed: $NEWER_KILLS runs, concurrent tile: 6 runs"

# --- merge of a computed tiling ------------------------------------------------------------
# A small study split into tiles and computed; its outputs start as an old set of other
# files, so that a killed merge leaves either that set or the merged one.
. "$(dirname "$0")/tiles_lib.sh"
small_study "$WORK/m" 120 annual >/dev/null
run_cli 0 --yes tile study.ovd --points 40
run_tiles_one_by_one
MERGE_SET="rocni.dbf rocni.vst zdroje.dbf podily.dbf"
old_merge_set() { for f in rocni.dbf zdroje.dbf podily.dbf; do cp "$S/tabA.dbf" $f; done; echo "old" >rocni.vst; }
run_cli 0 --yes merge study.ovd
STATE[merge.b]=$(hashes $MERGE_SET)
old_merge_set
STATE[merge.a]=$(hashes $MERGE_SET)
merge_cut=0
for i in $(seq "$MERGE_KILLS"); do
  who=process; [ $((i % 2)) = 0 ] && who=group
  run_killed $who "$CLI" --yes merge study.ovd
  judge "$who kill during merge" "${STATE[merge.a]}" "${STATE[merge.b]}" $MERGE_SET
  if [ "$(hashes $MERGE_SET)" = "${STATE[merge.b]}" ]; then old_merge_set; else merge_cut=$((merge_cut + 1)); fi
done
run_cli 0 --yes merge study.ovd
expect_eq "merge after the kills" "${STATE[merge.b]}" "$(hashes $MERGE_SET)"
count_leftovers "$WORK/m" "after the merge kills"
echo "merge killed: $MERGE_KILLS runs, $merge_cut of them before the merged set was in place"
cd "$S"

# --- two writers at once ----------------------------------------------------------------
# 2 x 100 `set` calls on one project file: every key must survive.
cp study.ovd sets.ovd
for w in 1 2; do
  ( for k in $(seq 100); do "$CLI" set sets.ovd Souběh "K${w}_$k" "$k" >/dev/null 2>&1; done ) &
done
wait
keys=$(grep -c '^K[12]_' sets.ovd)
expect_eq "keys kept by 200 concurrent set calls" 200 "$keys"
# Two conflicting runs on the same outputs: one set wins whole, none is mixed.
for i in $(seq 6); do
  "$CLI" --yes convert a.ovd >/dev/null 2>&1 &
  "$CLI" --yes convert b.ovd >/dev/null 2>&1 &
  wait
  judge "concurrent convert" "${STATE[convert.a]}" "${STATE[convert.b]}" $CONVERT_SET
done
count_leftovers "$S" "after the concurrent runs"

# --- a full disk --------------------------------------------------------------------------
T="$WORK/tmpfs"
mkdir -p "$T"
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: disk-full runs need root to mount a small tmpfs"
elif ! mount -t tmpfs -o size=4m ovdfault "$T" 2>/dev/null; then
  echo "SKIP: a tmpfs cannot be mounted here"
else
  trap 'umount "$T" 2>/dev/null; rm -rf "$WORK"' EXIT
  cp -r "$S/." "$T/"
  rm -rf "$T"/*.ovdtmp.* "$T"/*.ovdlock "$T"/sets.ovd "$T"/t_dlazdice "$T"/teren.bin "$T"/mapa.png
  cd "$T"
  for tool in convert dbf-export isolines; do "$CLI" --yes "$tool" a.ovd >/dev/null 2>&1; done
  "$CLI" --yes gis-export a.ovd --format geojson --out rocni.geojson >/dev/null 2>&1
  free_kb=$(df -k --output=avail "$T" | tail -1)
  for i in $(seq "$FULLS"); do
    case $((i % 4)) in 0) tool=convert files=$CONVERT_SET ;; 1) tool=dbf-export files=$SHAPE_SET ;;
      2) tool=isolines files=$ISO_SET ;; 3) tool=gis files=rocni.geojson ;; esac
    p=b; [ $((i % 2)) = 0 ] && p=a
    # Leave between 0 and 160 KiB free: some runs fit, most do not.
    leave=$((RANDOM % 160))
    fill=$((free_kb - leave))
    [ "$fill" -gt 0 ] && head -c "${fill}K" /dev/zero >filler 2>/dev/null
    if [ $tool = gis ]; then
      "$CLI" --yes gis-export $p.ovd --format geojson --out rocni.geojson >/dev/null 2>"$WORK/full.err"
    else
      "$CLI" --yes "$tool" $p.ovd >/dev/null 2>"$WORK/full.err"
    fi
    rc=$?
    rm -f filler
    judge "full disk during $tool (${leave} KiB free)" "${STATE[$tool.a]}" "${STATE[$tool.b]}" $files
    if [ $rc -eq 0 ] && [ "$(hashes $files)" != "${STATE[$tool.$p]}" ]; then
      fail "full disk: $tool reported success but did not write its outputs"
    fi
    count_leftovers "$T" "after a full-disk $tool"
  done
  cd "$WORK"
  umount "$T"
  echo "full disk: $FULLS runs"
fi

echo "faults: $runs runs judged, outputs lost $lost, mixed sets $mixed, leftover temporaries $leftovers"
finish
