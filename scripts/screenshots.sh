#!/usr/bin/env bash
# Pictures of the main window, its menus and every dialog of ovardix, taken under Xvfb
# (the offscreen platform when Xvfb is missing), on a copy of the example study.
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]   (defaults: build, BUILD_DIR/screenshots)
set -euo pipefail
# The screen of a common laptop unless OVARDIX_SCREEN says otherwise (WIDTHxHEIGHT).
screen=${OVARDIX_SCREEN:-1366x768}
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-$build/screenshots}")
if [ ! -x "$build/app/ui/ovardix_screenshots" ]; then
  cmake -S . -B "$build" -G Ninja -DOVARDIX_GUI=ON >/dev/null
  ninja -C "$build" -j2 ovardix_screenshots
fi
study=$(mktemp -d)
trap 'rm -rf "$study"' EXIT
cp -r examples/study/. "$study/"
mkdir -p "$out"
shooter=$(realpath "$build/app/ui/ovardix_screenshots")
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 ${screen}x24" env QT_QPA_PLATFORM=xcb "$shooter" "$out" "$study/study.ovd"
else
  echo "Xvfb not found: using the offscreen platform" >&2
  QT_QPA_PLATFORM=offscreen "$shooter" "$out" "$study/study.ovd"
fi
echo "Screenshots are in $out"
