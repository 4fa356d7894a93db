#!/usr/bin/env bash
# Pictures of the wind rose editor xovrruz: the main window, the graph window, the
# settings window and the protocol, on a copy of the example study's wind rose.
#   scripts/screenshots_xovrruz.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, BUILD_DIR/screenshots)
set -euo pipefail
# The screen of a common laptop unless OVARDIX_SCREEN says otherwise (WIDTHxHEIGHT).
screen=${OVARDIX_SCREEN:-1366x768}
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-$build/screenshots}")
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DOVARDIX_GUI=ON >/dev/null
ninja -C "$build" -j2 xovrruz_screenshots
study=$(mktemp -d)
trap 'rm -rf "$study"' EXIT
cp -r examples/study/. "$study/"
mkdir -p "$out"
shooter=$(realpath "$build/windrose/editor/xovrruz_screenshots")
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 ${screen}x24" env QT_QPA_PLATFORM=xcb "$shooter" "$out" "$study/ruzice.txt" "$study/study.ovd"
else
  echo "Xvfb not found: using the offscreen platform" >&2
  QT_QPA_PLATFORM=offscreen "$shooter" "$out" "$study/ruzice.txt" "$study/study.ovd"
fi
echo "Screenshots are in $out"
