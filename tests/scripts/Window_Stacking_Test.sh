#!/usr/bin/env bash
# Runs the window tests that need a window manager (tests/x11) on an X server of their own
# with openbox, at a laptop's screen size, and fails when they fail.
#   Window_Stacking_Test.sh TEST_PROGRAM [GoogleTest arguments...]
set -uo pipefail
PROGRAM=$1
shift
SCREEN=${KARDUN_TEST_SCREEN:-1366x768}
xvfb-run -a -s "-screen 0 ${SCREEN}x24" bash -c '
  program=$1
  shift
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  trap "kill $wm_pid 2>/dev/null" EXIT
  # Ready when it announces the frame extents.
  for i in $(seq 101); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS && break
    [ "$i" -lt 101 ] || { echo "The window manager (openbox) did not start." >&2; exit 1; }
    sleep 0.1
  done
  QT_QPA_PLATFORM=xcb "$program" "$@"
' bash "$PROGRAM" "$@"
