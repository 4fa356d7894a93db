#!/usr/bin/env bash
# Installs with apt-get whatever the build, the tests and the package need and the machine
# lacks (qt6-translations-l10n: Qt's own Czech texts; dpkg: the package test; libgdal-dev: the GIS
# library; openmpi-bin, libopenmpi-dev: the MPI launcher of tiled studies; slurm-wlm, munge: the
# test of the Slurm job array; qt6-svg-dev: the map's SVG output; poppler-utils: pdfinfo, which the
# map's tests read its PDF output with; openbox: a window manager under Xvfb, whose window frames
# the window placement tests need (x11-utils: xprop, which tells when it is up); python3-gdal:
# the tests that sample rasters and gdal2tiles, which makes the basemap test's tiles; python3-odf: the report tests read the ODT back;
# g++-mingw-w64-x86-64-posix: the cross compiler of the Windows build, posix threads for
# std::thread; wine64: runs that build's programs and tests here; googletest: GoogleTest's
# sources, built with that compiler for the Windows tests; zip, unzip: the Windows package and
# its test).
set -euo pipefail
packages=(cmake ninja-build g++ ccache qt6-base-dev libgtest-dev libgmock-dev locales python3-dbfread gdal-bin xvfb
          qt6-translations-l10n dpkg libgdal-dev openmpi-bin libopenmpi-dev slurm-wlm munge
          qt6-svg-dev poppler-utils openbox x11-utils python3-gdal python3-odf g++-mingw-w64-x86-64-posix wine64
          googletest zip unzip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
