#!/usr/bin/env bash
# with_window_manager.sh PROGRAM [ARG...]: runs a Qt program on a 1366 x 768 X screen of its
# own (Xvfb) under a window manager (openbox), whose window frames and placement rules are
# what the offscreen platform lacks. The program's exit status is the script's.
set -euo pipefail
for tool in Xvfb openbox; do
  command -v "$tool" >/dev/null || { echo "with_window_manager.sh: $tool is not installed" >&2; exit 1; }
done
work=$(mktemp -d)
xvfb_pid='' wm_pid=''
cleanup() {
  [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# Xvfb picks a free display itself and writes its number to the descriptor given.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "with_window_manager.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export HOME="$work"  # openbox's and Qt's per-user files stay in the scratch folder
openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# The window manager is up once it owns the screen's selection.
for _ in $(seq 100); do
  if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then break; fi
  sleep 0.1
done
export QT_QPA_PLATFORM=xcb
"$@"
