#!/usr/bin/env bash
# The Debian package of Ovardix, made with CPack from a build tree:
#   scripts/package.sh [BUILD_DIR]   (default: build, the release tree, built first)
# Prints the path of the .deb. "cmake --install BUILD_DIR --prefix DIR" installs the same
# files without a package.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ "$build" = build ]; then
  scripts/build.sh release
else
  cmake --build "$build" -j "$(nproc)"
fi
(cd "$build" && cpack -G DEB >/dev/null)
ls -t "$build"/package/ovardix_*.deb | head -1
