#!/usr/bin/env bash
# Runs a GUI test program as on a user's desktop: on an X server of its own (Xvfb, on the
# first free display number, 1366x768) with a window manager (openbox). Exits 77, which
# CTest reports as skipped, only when the X server cannot start.
# Usage: run_under_window_manager.sh PROGRAM [ARGUMENTS...]
set -uo pipefail

skip() { echo "SKIPPED: $*"; exit 77; }

command -v Xvfb >/dev/null || skip "Xvfb is not installed (scripts/install-deps installs it)"
for tool in openbox xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/install-deps installs it)"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid="" wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number itself and writes it to the file once it accepts clients.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.1
done
[ -s "$work/display" ] || skip "Xvfb did not start: $(tail -n 3 "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"

mkdir -p "$work/config/openbox"
XDG_CONFIG_HOME="$work/config" openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
if ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
  echo "openbox did not start on $DISPLAY: $(tail -n 3 "$work/openbox.log")"
  exit 1
fi

mkdir -m 700 "$work/runtime"
echo "Running on $DISPLAY under openbox: $*"
QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" "$@"
status=$?
exit "$status"
