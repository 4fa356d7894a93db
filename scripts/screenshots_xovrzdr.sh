#!/usr/bin/env bash
# Pictures of the sources editor's main window and every dialog, taken under Xvfb (the
# offscreen platform when Xvfb is missing).
#   scripts/screenshots_xovrzdr.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, BUILD_DIR/screenshots/xovrzdr)
set -euo pipefail
# The screen of a common laptop unless OVARDIX_SCREEN says otherwise (WIDTHxHEIGHT).
screen=${OVARDIX_SCREEN:-1366x768}
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-$build/screenshots/xovrzdr}")
if [ ! -d "$build" ]; then
  cmake -S . -B "$build" -G Ninja -DOVARDIX_GUI=ON >/dev/null
fi
ninja -C "$build" -j2 xovrzdr_screenshots >/dev/null
mkdir -p "$out"
shooter=$(realpath "$build/sources_editor/ui/xovrzdr_screenshots")
export OVARDIX_PROFILE="$(mktemp -d)/ovardix.ini"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 ${screen}x24" env QT_QPA_PLATFORM=xcb "$shooter" "$out"
else
  echo "Xvfb not found: using the offscreen platform" >&2
  QT_QPA_PLATFORM=offscreen "$shooter" "$out"
fi
echo "Screenshots are in $out"
