#!/usr/bin/env bash
# The packages of Ovardix:
#   scripts/package.sh [BUILD_DIR]   the Debian package, made with CPack from a build tree
#                                    (default: build, the release tree, built first)
#   scripts/package.sh windows       the zip for Windows: bin/ovardix-cli.exe (build-windows/,
#                                    built first), the example study, the user guide, the limit
#                                    values and README.txt (packaging/windows/README.txt)
# Prints the path of the .deb or .zip. "cmake --install BUILD_DIR --prefix DIR" installs the
# same files as the .deb without a package.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" = windows ]; then
  scripts/build.sh windows ovardix-cli
  version=$(sed -n 's/^project(ovardix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
  name=ovardix-$version-windows
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT
  top=$stage/$name
  mkdir -p "$top/bin" "$top/examples" "$top/docs" "$top/share/ovardix"
  cp build-windows/cli/ovardix-cli.exe "$top/bin/"
  cp -r examples/study "$top/examples/"
  cp -r docs/guide.html docs/guide "$top/docs/"
  # Where the assessment looks for the limit values first: ../share/ovardix beside bin.
  cp data/imisni_limity.txt "$top/share/ovardix/"
  # Notepad and cmd.exe users get Windows line ends.
  sed 's/$/\r/' packaging/windows/README.txt > "$top/README.txt"
  out=$PWD/build-windows/package/$name.zip
  mkdir -p "$(dirname "$out")"
  rm -f "$out"
  (cd "$stage" && find "$name" | LC_ALL=C sort | zip -q -X -@ "$out")
  echo "$out"
  exit 0
fi
build=${1:-build}
if [ "$build" = build ]; then
  scripts/build.sh release
else
  cmake --build "$build" -j "$(nproc)"
fi
(cd "$build" && cpack -G DEB >/dev/null)
ls -t "$build"/package/ovardix_*.deb | head -1
