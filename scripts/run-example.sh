#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled example study.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release
cli=$PWD/build/cli/ovardix-cli
study=$(mktemp -d)
cp -r examples/study/. "$study/"
echo "Example study copied to $study"
cd "$study"
export OVARDIX_PROFILE="$study/profile.ini"
# The steps of the main road that exist so far, one after the other; each stops the
# script when it fails.
# --- steps (begin) ---
"$cli" --yes grid study.ovd
"$cli" --yes terrain study.ovd
"$cli" check-terrain study.ovd
"$cli" set study.ovd DopocetVysky VstSouradniceTxt body.txt
"$cli" heights study.ovd
"$cli" set study.ovd DopocetVysky VstSouradniceTxt zdroje.txt
"$cli" heights study.ovd
"$cli" get study.ovd Global VstReferBodTxt
"$cli" check-points study.ovd > kontrola_body.txt
"$cli" check-sources study.ovd > kontrola_zdroju.txt
"$cli" --yes convert study.ovd
"$cli" set study.ovd Global VstThetaBin theta.bin
"$cli" set study.ovd Global VstDeltaBin delta.bin
"$cli" set study.ovd Global VstZmaxBin zmax.bin
"$cli" set study.ovd Koeficienty VzdalenostBodu 50
"$cli" --yes coefficients study.ovd
"$cli" --yes matrix-export study.ovd theta.bin
"$cli" set study.ovd VypocetRocni VystDbf rocni.dbf
"$cli" set study.ovd VypocetRocni KoncDobyPrek1 1
"$cli" run study.ovd
"$cli" set study.ovd DbfExport VstDbf rocni.dbf
"$cli" set study.ovd DbfExport VystShp rocni.shp
"$cli" set study.ovd DbfExport VystShx rocni.shx
"$cli" --yes dbf-export study.ovd
"$cli" set study.ovd Izolinie VstDbf rocni.dbf
"$cli" set study.ovd Izolinie VystShp rocni_izolinie.shp
"$cli" set study.ovd Izolinie VystShx rocni_izolinie.shx
"$cli" set study.ovd Izolinie VystDbf rocni_izolinie.dbf
"$cli" set study.ovd Izolinie PozSeznamSloupcu 5
"$cli" set study.ovd Izolinie PocetUsekuNaStrane 60
"$cli" set study.ovd Izolinie SkalaOd 5
"$cli" set study.ovd Izolinie SkalaKrok 10
"$cli" --yes isolines study.ovd
"$cli" --yes daily study.ovd
"$cli" set study.ovd Global TypVypoctu 1
"$cli" set study.ovd VypocetRocni VystDbf prach_rocni.dbf
"$cli" run study.ovd
"$cli" set study.ovd VypocetDenni VystDbf prach_denni.dbf
"$cli" --yes daily study.ovd
# --- steps (end) ---
echo "Results are in $study"
