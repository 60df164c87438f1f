#!/usr/bin/env bash
# Runs the window tests that need a window manager (tests/x11) on an X server of their own
# with the window manager KARDUN_TEST_WM names (openbox by default; see wm.sh), at a laptop's
# screen size, and fails when they fail.
#   Window_Stacking_Test.sh TEST_PROGRAM [GoogleTest arguments...]
set -uo pipefail
PROGRAM=$1
shift
SCREEN=${KARDUN_TEST_SCREEN:-1366x768}
xvfb-run -a -s "-screen 0 ${SCREEN}x24" bash -c '
  program=$1 helper=$2
  shift 2
  . "$helper"
  trap Stop_Window_Manager EXIT
  Start_Window_Manager || exit 1
  QT_QPA_PLATFORM=xcb "$program" "$@"
' bash "$PROGRAM" "$(dirname "$0")/wm.sh" "$@"
