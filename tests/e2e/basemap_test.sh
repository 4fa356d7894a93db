#!/usr/bin/env bash
# The map's background from a tile service: tiles made by gdal2tiles from a small web Mercator
# raster, served on 127.0.0.1 by a server this test starts and stops; the tiles reprojected
# into the study's system (a tile corner where GDAL transforms it), kept in the cache and drawn
# from it offline; a service that refuses or never answers, a cache folder that cannot be made
# and a source GDAL cannot read: the map is drawn all the same and says why once.
. "$(dirname "$0")/lib.sh"
unset QT_QPA_PLATFORM DISPLAY WAYLAND_DISPLAY
DATA="$(cd "$(dirname "$0")" && pwd)/data"
cd "$WORK"

PY=
for p in python3 /usr/bin/python3; do
  if "$p" -c 'from osgeo import gdal' 2>/dev/null; then PY=$p; break; fi
done
[ -n "$PY" ] || { echo "FAIL: no python3 with GDAL's bindings (scripts/install-deps.sh installs python3-gdal)" >&2; exit 1; }
TILER=$(command -v gdal2tiles.py || command -v gdal2tiles) || { echo "FAIL: gdal2tiles not installed" >&2; exit 1; }

SERVERS=()
stop_servers() { local s; for s in "${SERVERS[@]}"; do kill "$s" 2>/dev/null; wait "$s" 2>/dev/null; done; SERVERS=(); }
trap 'stop_servers; rm -rf "$WORK"' EXIT
trap 'exit 143' TERM INT  # a test stopped from outside stops its servers too
free_port() { "$PY" -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
# serve FOLDER: an HTTP server of the folder on a free port ($PORT), polled until it answers.
serve() {
  PORT=$(free_port)
  "$PY" -m http.server "$PORT" --bind 127.0.0.1 --directory "$1" >/dev/null 2>&1 &
  SERVERS+=($!)
  local i
  for i in $(seq 100); do
    "$PY" -c "import urllib.request,sys; urllib.request.urlopen('http://127.0.0.1:$PORT/', timeout=1)" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "the tile server on port $PORT does not answer"
}
# count TEXT: how often TEXT is in $ERR.
count() { printf '%s\n' "$ERR" | grep -o -F "$1" | wc -l; }

# A study of 11 x 11 points in the national grid, its points and background drawn.
"$PY" "$DATA/make_result_table.py" rocni.dbf 11
P=study.ovd
set_keys $P "Global SouradnicovySystem EPSG:5514" "Mapa VstDbf rocni.dbf" "Mapa Sloupec CONC_VALUE" \
  "Mapa Vrstvy podklad;body"
read -r CX CY < <("$PY" "$DATA/basemap_tiles.py" source ctvrtiny.tif -744500 -1042500)
"$TILER" -q -z 14-17 ctvrtiny.tif tms >/dev/null || fail "gdal2tiles (TMS)"
"$TILER" -q -z 14-17 --xyz ctvrtiny.tif xyz >/dev/null || fail "gdal2tiles (XYZ)"
mkdir dlazdice && mv tms xyz dlazdice/
serve dlazdice
URL="http://127.0.0.1:$PORT"

# The corner of the tiles, where the four colours meet, lies where GDAL puts it in the study's
# system: north-west red, north-east blue, south-west green, south-east yellow.
QUARTERS="200,40,40 40,40,200 40,160,40 220,200,40"
for source in "$URL/xyz/{z}/{x}/{y}.png" "$URL/tms/{z}/{x}/{-y}.png"; do
  run_cli 0 --yes map $P --basemap "$source" --out podklad.svg --width 600
  expect_eq "no message with $source" "" "$(printf '%s\n' "$ERR" | grep -v '^Mapa zapsána\|^Načítám\|^Kreslím')"
  expect_eq "tile corner of $source" "$QUARTERS" "$("$PY" "$DATA/basemap_tiles.py" svg podklad.svg rocni.dbf $CX $CY 2>&1)"
done
[ -n "$(find mezipamet_podkladu -type f 2>/dev/null | head -1)" ] || fail "no tiles kept in mezipamet_podkladu beside the project"

# A "WMS:" address: every GetMap request of this server gets the same grey picture; its
# answers are kept in the cache like tiles.
"$PY" -c "
from osgeo import gdal
d = gdal.GetDriverByName('MEM').Create('', 1024, 1024, 3)
for b in (1, 2, 3): d.GetRasterBand(b).Fill(128)
gdal.GetDriverByName('PNG').CreateCopy('dlazdice/wms.png', d)"
kept=$(ls mezipamet_podkladu | wc -l)
run_cli 0 --yes map $P --basemap "WMS:$URL/wms.png?SERVICE=WMS&VERSION=1.1.1&REQUEST=GetMap&LAYERS=a&SRS=EPSG:3857&BBOX=-20037508.34,-20037508.34,20037508.34,20037508.34&FORMAT=image/png" \
  --out wms.svg --width 300
expect_eq "WMS: no message" "" "$(printf '%s\n' "$ERR" | grep -v '^Mapa zapsána')"
[ "$(ls mezipamet_podkladu | wc -l)" -gt "$kept" ] || fail "no WMS answers kept in the cache"

# A GDAL WMS description in a file, as the project's background; the PNG drawn with the
# attribution at the bottom left.
cat >sluzba.xml <<EOF
<GDAL_WMS>
  <Service name="TMS"><ServerUrl>$URL/tms/\${z}/\${x}/\${y}.png</ServerUrl></Service>
  <DataWindow><UpperLeftX>-20037508.34</UpperLeftX><UpperLeftY>20037508.34</UpperLeftY>
    <LowerRightX>20037508.34</LowerRightX><LowerRightY>-20037508.34</LowerRightY>
    <TileLevel>17</TileLevel><TileCountX>1</TileCountX><TileCountY>1</TileCountY><YOrigin>bottom</YOrigin></DataWindow>
  <Projection>EPSG:3857</Projection><BlockSizeX>256</BlockSizeX><BlockSizeY>256</BlockSizeY><BandsCount>4</BandsCount>
</GDAL_WMS>
EOF
run_cli 0 set $P Mapa VstRastr sluzba.xml
run_cli 0 set $P Mapa PodkladPopis "Dlaždice: zkušební server"
run_cli 0 --yes map $P --out podklad.svg --width 600
expect_eq "description file" "$QUARTERS" "$("$PY" "$DATA/basemap_tiles.py" svg podklad.svg rocni.dbf $CX $CY 2>&1)"
grep -q "Dlaždice: zkušební server" podklad.svg || fail "attribution missing from the SVG"

# Offline: the tiles of the same picture come from the cache, without a message.
stop_servers
run_cli 0 --yes map $P --out offline.svg --width 600
expect_eq "offline from the cache" "$QUARTERS" "$("$PY" "$DATA/basemap_tiles.py" svg offline.svg rocni.dbf $CX $CY 2>&1)"
expect_eq "offline from the cache: messages" 0 "$(count 'podklad mapy')"

# A service that refuses and one that never answers: the map is drawn without the background,
# the reason said once, within the time-out (5 s a request; the bound is generous).
DEAD=$(free_port)
run_cli 0 --yes map $P --basemap "http://127.0.0.1:$DEAD/{z}/{x}/{y}.png" --out bez.png --width 600
[ -s bez.png ] || fail "no map without the refused service"
expect_eq "refused: one message" 1 "$(count 'nelze použít jako podklad mapy')"
case "$ERR" in *"Upozornění: Podklad: Službu http://127.0.0.1:$DEAD/{z}/{x}/{y}.png nelze použít jako podklad mapy: služba není dostupná"*"Mapa je nakreslena bez podkladu."*) ;;
  *) fail "refused service: $ERR" ;; esac
MUTE=$(free_port)
"$PY" -c "import socket,time; s=socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1); s.bind(('127.0.0.1', $MUTE)); s.listen(64); time.sleep(120)" &
SERVERS+=($!)
sleep 0.5
start=$(date +%s)
run_cli 0 --yes map $P --basemap "http://127.0.0.1:$MUTE/{z}/{x}/{y}.png" --out ticho.png --width 600
took=$(($(date +%s) - start))
[ -s ticho.png ] || fail "no map without the silent service"
[ "$took" -lt 20 ] || fail "the silent service held the map for $took s"
expect_eq "silent: one message" 1 "$(count 'nelze použít jako podklad mapy')"
case "$ERR" in *"služba neodpověděla do 5 s"*) ;; *) fail "silent service: $ERR" ;; esac
echo "silent service given up after $took s"
stop_servers

# A cache folder that cannot be made (under a file) is named; the map is still drawn.
serve dlazdice
# A description whose tiles the server does not have (HTTP 404, not taken as empty here).
sed "s|$URL/tms/|http://127.0.0.1:$PORT/neni/|" sluzba.xml >neni.xml
run_cli 0 --yes map $P --basemap neni.xml --out neni.png --width 300
case "$ERR" in *"Službu neni.xml nelze použít jako podklad mapy: služba odpověděla chybou HTTP 404. Mapa je nakreslena bez podkladu."*) ;;
  *) fail "HTTP error: $ERR" ;; esac
echo soubor >soubor
set_keys $P "Mapa PodkladMezipamet soubor/mezipamet"
run_cli 0 --yes map $P --basemap "http://127.0.0.1:$PORT/xyz/{z}/{x}/{y}.png" --out mezi.svg --width 600
case "$ERR" in *"Podklad: Nelze vytvořit složku soubor/mezipamet pro mezipaměť podkladu mapy"*) ;; *) fail "cache folder: $ERR" ;; esac
expect_eq "drawn without a cache" "$QUARTERS" "$("$PY" "$DATA/basemap_tiles.py" svg mezi.svg rocni.dbf $CX $CY 2>&1)"
run_cli 0 set $P Mapa PodkladMezipamet ""
# Typed in another folder, an address stays an address (a file would be taken from there).
mkdir jinde
cd jinde
run_cli 0 --yes map ../$P --basemap "http://127.0.0.1:$PORT/xyz/{z}/{x}/{y}.png" --out jinde.svg --width 600
cd ..
expect_eq "address typed elsewhere" "$QUARTERS" "$("$PY" "$DATA/basemap_tiles.py" svg jinde/jinde.svg rocni.dbf $CX $CY 2>&1)"
stop_servers

# Sources GDAL cannot read: named, the map drawn without them.
echo "není to rastr" >neni.tif
run_cli 0 --yes map $P --basemap neni.tif --out neni.png --width 300
case "$ERR" in *"Podklad: Soubor neni.tif nelze použít jako podklad mapy: knihovna GDAL jej nepřečte."*) ;; *) fail "unreadable file: $ERR" ;; esac
[ -s neni.png ] || fail "no map beside an unreadable background"
run_cli 0 --yes map $P --basemap "<GDAL_WMS><Service" --out neni.png --width 300
case "$ERR" in *"Podklad: Zadaný popis služby nelze použít jako podklad mapy"*) ;; *) fail "broken description: $ERR" ;; esac
run_cli 0 set $P Global SouradnicovySystem ""
run_cli 0 --yes map $P --basemap "$URL/xyz/{z}/{x}/{y}.png" --out neni.png --width 300
case "$ERR" in *"studie nemá zadaný souřadnicový systém"*) ;; *) fail "service in a study without a system: $ERR" ;; esac

finish
