#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job on the bundled example study.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Only the program the steps below run, not every test and benchmark.
scripts/build.sh release ovardix-cli
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
# heights of the reference points, then of the sources
"$cli" set study.ovd DopocetVysky VstSouradniceTxt body.txt
"$cli" heights study.ovd
"$cli" set study.ovd DopocetVysky VstSouradniceTxt zdroje.txt
"$cli" heights study.ovd
"$cli" check-points study.ovd > kontrola_body.txt
"$cli" check-sources study.ovd > kontrola_zdroju.txt
"$cli" --yes convert study.ovd
"$cli" --yes coefficients study.ovd
"$cli" --yes matrix-export study.ovd
"$cli" run study.ovd
"$cli" --yes dbf-export study.ovd
"$cli" --yes isolines study.ovd
# the results in the GIS world: a GeoPackage (points, isolines, sources) and the annual mean as a GeoTIFF
"$cli" --yes gis-export study.ovd --format gpkg
"$cli" --yes gis-export study.ovd --format tif --column CONC_AVG
"$cli" --yes daily study.ovd
# the same study for dust
"$cli" set study.ovd Global TypVypoctu 1
"$cli" set study.ovd VypocetRocni VystDbf prach_rocni.dbf
"$cli" run study.ovd
"$cli" set study.ovd VypocetDenni VystDbf prach_denni.dbf
"$cli" --yes daily study.ovd
# the annual mean on a map: terrain, sources, isobands and isolines, the points coloured by class
"$cli" --yes map study.ovd --table rocni.dbf --column CONC_AVG --levels "1;2;5;10;20;50" --out rocni.png --width 1200
# the assessment: the annual mean of the gas study plus the NO2 background raster against the limit
"$cli" set study.ovd Global TypVypoctu 0
"$cli" --yes assess study.ovd --table rocni.dbf --background pozadi_no2.asc --bilinear --pollutant NO2
"$cli" --yes map study.ovd --table rocni_hodnoceni.dbf --column CELKEM --levels limity --out hodnoceni.png --width 1200
# a second variant of the plant (popis_varianta.txt) and its difference from the first
"$cli" set study.ovd Global VstZdrojPopTxt popis_varianta.txt
"$cli" set study.ovd VypocetRocni VystDbf rocni_varianta.dbf
"$cli" --yes run study.ovd
"$cli" --yes compare study.ovd --base rocni.dbf --variant rocni_varianta.dbf
# --- steps (end) ---
# The report of the study: every table the project names, the first variant and the
# assessment and comparison besides. The daily table of dust was computed from the sources
# binary since converted again for the gas: it is included, marked as not current.
"$cli" --yes report study.ovd --table rocni.dbf --table rocni_hodnoceni.dbf --table rocni_varianta_rozdil.dbf \
  --allow-stale --out zprava.pdf
"$cli" --yes report study.ovd --table rocni.dbf --table rocni_hodnoceni.dbf --table rocni_varianta_rozdil.dbf \
  --allow-stale --out zprava.odt
echo "Results are in $study (the report: zprava.pdf, zprava.odt)"
