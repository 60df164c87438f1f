#!/usr/bin/env bash
# Runs the window tests that need a window manager (tests/x11) on an X server of their own
# with a window manager, at a laptop's screen size, and fails when they fail.
#   Window_Stacking_Test.sh TEST_PROGRAM [GoogleTest arguments...]
# KARDUN_TEST_WM: openbox (the default), xfwm4 or metacity; KARDUN_TEST_SCREEN: WIDTHxHEIGHT.
set -uo pipefail
PROGRAM=$1
shift
SCREEN=${KARDUN_TEST_SCREEN:-1366x768}
WM=${KARDUN_TEST_WM:-openbox}
case "$WM" in
  openbox) WM_COMMAND="openbox --sm-disable" ;;
  xfwm4) WM_COMMAND="xfwm4 --compositor=off --sm-client-disable" ;;
  metacity) WM_COMMAND="metacity --sm-disable --no-composite" ;;
  *) echo "Unknown window manager \"$WM\" in KARDUN_TEST_WM (openbox, xfwm4 or metacity)." >&2; exit 2 ;;
esac
command -v "$WM" >/dev/null || { echo "The window manager $WM is not installed." >&2; exit 1; }
TMPDIR_WM=$(mktemp -d)
trap 'rm -rf "$TMPDIR_WM"' EXIT
export TMPDIR_WM
xvfb-run -a -s "-screen 0 ${SCREEN}x24" bash -c '
  wm=$1 wm_command=$2 program=$3
  shift 3
  # Its own session bus where it wants one, so that it never reaches the desktop of the
  # machine the tests run on.
  if command -v dbus-run-session >/dev/null; then
    dbus-run-session -- $wm_command >"$TMPDIR_WM/wm.log" 2>&1 &
  else
    $wm_command >"$TMPDIR_WM/wm.log" 2>&1 &
  fi
  wm_pid=$!
  trap "kill $wm_pid 2>/dev/null" EXIT
  # Ready when it announces the frame extents.
  for i in $(seq 101); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS && break
    if [ "$i" -eq 101 ] || ! kill -0 $wm_pid 2>/dev/null; then
      echo "The window manager ($wm) did not start:" >&2
      cat "$TMPDIR_WM/wm.log" >&2
      exit 1
    fi
    sleep 0.1
  done
  echo "Window manager: $wm" >&2
  QT_QPA_PLATFORM=xcb "$program" "$@"
' bash "$WM" "$WM_COMMAND" "$PROGRAM" "$@"
