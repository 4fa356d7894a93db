#!/usr/bin/env bash
# The example run's steps on a copy of the bundled study: it must end with a shapefile of
# the result points and one of isolines, a GeoPackage and a GeoTIFF, all readable by GDAL.
. "$(dirname "$0")/lib.sh"

SRC=${OVD_SOURCE_DIR:-$(cd "$(dirname "$0")/../.." && pwd)}
cp -r "$SRC/examples/study/." "$WORK/"
cd "$WORK"
cli=$CLI
while IFS= read -r step; do
  case "$step" in '"$cli"'*) ;; *) continue ;; esac
  eval "$step" >/dev/null 2>"$WORK/step.err" </dev/null || fail "step failed: $step: $(cat "$WORK/step.err")"
done < <(sed -n '/steps (begin)/,/steps (end)/p' "$SRC/scripts/run-example.sh")

points=$(od -An -tu4 -j4 -N4 rocni.dbf 2>/dev/null | tr -d ' ')
[ -n "$points" ] && [ "$points" -gt 0 ] || fail "no annual result table"
expect_eq "one point per result record" $((100 + 28 * ${points:-0})) "$(stat -c %s rocni.shp 2>/dev/null)"
[ "$(stat -c %s rocni_izolinie.shp 2>/dev/null || echo 0)" -gt 100 ] || fail "no isoline traced on the study"
if command -v ogrinfo >/dev/null; then
  case "$(ogrinfo -ro -al -so rocni.shp 2>&1)" in *"Feature Count: $points"*) ;; *) fail "ogrinfo on rocni.shp" ;; esac
  case "$(ogrinfo -ro -al -so rocni_izolinie.shp 2>&1)" in *"Geometry: Line String"*) ;; *) fail "ogrinfo on the isolines" ;; esac
  case "$(ogrinfo -ro -so rocni.gpkg 2>&1)" in *"body (Point)"*"izolinie (Line String)"*) ;; *) fail "ogrinfo on rocni.gpkg" ;; esac
  case "$(ogrinfo -ro -so rocni.gpkg body 2>&1)" in *"Feature Count: $points"*'ID["EPSG",5514]'*) ;; *) fail "gpkg points" ;; esac
  case "$(gdalinfo rocni.tif 2>&1)" in *"Size is 41, 41"*"NoData Value=-9999"*) ;; *) fail "gdalinfo on rocni.tif" ;; esac
  [ -s rocni.prj ] || fail "no .prj beside the points shapefile"
else
  fail "ogrinfo is missing (scripts/install-deps.sh installs gdal-bin)"
fi
finish
