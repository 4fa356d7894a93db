#!/usr/bin/env bash
# The Debian package of a build tree, installed as a user would install it:
#   package_test.sh BUILD_DIR
# makes the package with CPack from the programs already built, installs it with dpkg -i,
# runs "ovardix-cli --help" and "ovardix -f" on a copy of the installed example study,
# and removes it again. Installing needs root; otherwise the test says so and passes.
set -u
BUILD=${1:?build folder}
if [ "$(id -u)" != 0 ]; then
  echo "SKIP: installing the package needs root (dpkg -i); nothing was tested"
  exit 0
fi
if dpkg-query -W -f='${Status}' ovardix 2>/dev/null | grep -q "install ok installed"; then
  echo "SKIP: a package ovardix is installed on this machine already; it is left alone"
  exit 0
fi
WORK=$(mktemp -d)
FAILS=0
fail() { echo "FAIL: $*" >&2; FAILS=$((FAILS + 1)); }
cleanup() {
  dpkg-query -W ovardix >/dev/null 2>&1 && dpkg -r ovardix >/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

(cd "$BUILD" && cpack -G DEB -B "$WORK/package" >"$WORK/cpack.log" 2>&1) || { cat "$WORK/cpack.log"; fail "cpack"; exit 1; }
DEB=$(ls "$WORK"/package/ovardix_*.deb 2>/dev/null | head -1)
[ -n "$DEB" ] || { fail "no package made"; exit 1; }
echo "package: $(basename "$DEB") ($(du -h "$DEB" | cut -f1))"
dpkg -i "$DEB" >"$WORK/dpkg.log" 2>&1 || { cat "$WORK/dpkg.log"; fail "dpkg -i"; exit 1; }

for f in /usr/bin/ovardix /usr/bin/ovardix-cli /usr/bin/xovrzdr /usr/bin/xovrruz \
         /usr/share/applications/ovardix.desktop /usr/share/mime/packages/ovardix.xml \
         /usr/share/icons/hicolor/scalable/apps/ovardix.svg /usr/share/ovardix/guide.html \
         /usr/share/ovardix/guide/xovrzdr.md /usr/share/ovardix/examples/study/study.ovd \
         /usr/share/ovardix/imisni_limity.txt /usr/share/ovardix/guide/hodnoceni.md; do
  [ -e "$f" ] || fail "not installed: $f"
done
ls /usr/lib/libOKRA_CMDParams.so* /usr/lib/libOKRA_PollutionRose.so* >/dev/null 2>&1 || fail "libraries not installed"

/usr/bin/ovardix-cli --help >"$WORK/help.txt" 2>&1 || fail "ovardix-cli --help exited $?"
grep -q "ovardix-cli" "$WORK/help.txt" || fail "ovardix-cli --help printed no usage"

# The unattended main road of the installed program on a small cut of the example study.
cp -r /usr/share/ovardix/examples/study "$WORK/studie"
cd "$WORK/studie"
export OVARDIX_PROFILE="$WORK/profile.ini" QT_QPA_PLATFORM=offscreen
for kv in "NovyRefer PocetX 6" "NovyRefer PocetY 6" "VypocetRocni KrokVypoctu 2"; do
  /usr/bin/ovardix-cli set study.ovd $kv || fail "ovardix-cli set $kv"
done
/usr/bin/ovardix-cli --yes grid study.ovd >/dev/null 2>&1 || fail "ovardix-cli grid"
/usr/bin/ovardix-cli --yes terrain study.ovd >/dev/null 2>&1 || fail "ovardix-cli terrain"
timeout 600 /usr/bin/ovardix -f study.ovd >"$WORK/run.log" 2>&1; rc=$?
[ "$rc" = 0 ] || { cat "$WORK/run.log"; fail "ovardix -f exited $rc"; }
grep -q "Výpočet na pozadí dokončen." "$WORK/run.log" || fail "ovardix -f did not report its end"
dbf=$(/usr/bin/ovardix-cli get study.ovd VypocetRocni VystDbf)
[ -s "$dbf" ] || fail "no result table $dbf"
# The assessment takes the installed limit table.
/usr/bin/ovardix-cli --yes assess study.ovd --table "$dbf" --background pozadi_no2.asc --pollutant NO2 \
  --out hodnoceni.dbf >/dev/null 2>&1 || fail "ovardix-cli assess"
grep -q "share/ovardix/imisni_limity.txt" hodnoceni.vst || fail "assess did not take the installed limit table"
cd /

dpkg -r ovardix >/dev/null 2>&1 || fail "dpkg -r"
[ ! -e /usr/bin/ovardix ] || fail "ovardix still there after dpkg -r"
[ "$FAILS" = 0 ] && echo "package installed, run and removed"
exit "$FAILS"
