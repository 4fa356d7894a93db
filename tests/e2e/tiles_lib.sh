# Helpers of the tiled-study tests, sourced after lib.sh: a small copy of the example
# study, its settings per mode, and comparisons of outputs that may differ only in dates.

# small_study DIR POINTS MODE: the example with its first POINTS reference points, the
# terrain converted, and settings for MODE (annual: gas with group shares and two limits;
# maximum: gas, a 15 degree step; dust: annual dust). Leaves the current folder in DIR.
small_study() {
  mkdir -p "$1" && cd "$1" || return 1
  cp -r "$OVD_SOURCE_DIR/examples/study/." .
  awk -v n="$2" '/^[ \t]*[1-9]/ { if (++c > n) next } { print }' body.txt > body.cut && mv body.cut body.txt
  run_cli 0 --yes terrain study.ovd
  local kv
  for kv in "Global VstThetaBin theta.bin" "Global VstDeltaBin delta.bin" "Global VstZmaxBin zmax.bin" \
            "Koeficienty VzdalenostBodu 50" "VypocetRocni VystDbf rocni.dbf" "VypocetRocni KoncDobyPrek1 1" \
            "VypocetRocni KoncDobyPrek3 5" "VypocetRocni KrokVypoctu 2"; do
    run_cli 0 set study.ovd $kv
  done
  case "$3" in
    annual) run_cli 0 set study.ovd VypocetRocni PodilySkupinZdroju 1
            run_cli 0 set study.ovd VypocetRocni VystDbfPodily podily.dbf ;;
    maximum) run_cli 0 set study.ovd Global ZpusobVypoctu 1
             run_cli 0 set study.ovd VypocetRocni KrokVypoctu 3
             run_cli 0 set study.ovd VypocetRocni KrokVypoctuVlastni 15 ;;
    dust) run_cli 0 set study.ovd Global TypVypoctu 1 ;;
  esac
}

# The outputs of an unsplit run of the study in the current folder, kept in ref/.
STUDY_OUTPUTS="rocni.dbf rocni.vst zdroje.dbf"
reference_run() {
  run_cli 0 run study.ovd
  mkdir -p ref
  local f
  for f in $STUDY_OUTPUTS podily.dbf prub_roc.tmp prub_max.tmp; do
    [ -e "$f" ] && mv "$f" ref/
  done
  return 0
}

# same_as_reference WHAT: the merged outputs equal ref/ apart from the dates: the date
# bytes of the tables, the protocol's date line and the run log's date line.
same_as_reference() {
  local f
  for f in $STUDY_OUTPUTS podily.dbf prub_roc.tmp prub_max.tmp; do
    [ -e "ref/$f" ] || continue
    if [ ! -e "$f" ]; then fail "$1: $f was not written"; continue; fi
    case "$f" in
      *.dbf) cmp -s <(head -c 1 "$f"; tail -c +5 "$f") <(head -c 1 "ref/$f"; tail -c +5 "ref/$f") \
               || fail "$1: $f differs from the unsplit run's" ;;
      *.vst) cmp -s <(sed 2d "$f") <(sed 2d "ref/$f") || fail "$1: protocol $f differs from the unsplit run's" ;;
      *.tmp) cmp -s <(sed 1d "$f") <(sed 1d "ref/$f") || fail "$1: run log $f differs from the unsplit run's" ;;
    esac
  done
}

# Removes the merged outputs, so that the next merge is seen to write them.
clear_outputs() { rm -f $STUDY_OUTPUTS podily.dbf prub_roc.tmp prub_max.tmp; }

# run_tiles_one_by_one: "ovardix-cli run" in every tile folder, each with it as the current folder.
run_tiles_one_by_one() {
  local t
  for t in study_dlazdice/*/; do
    (FAILS=0; cd "$t" || exit 1; run_cli 0 run study.ovd; exit "$FAILS") || FAILS=$((FAILS + 1))
  done
}
