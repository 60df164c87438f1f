#!/usr/bin/env bash
# The main window's place across the window manager's states and across restarts, with the
# program starved of CPU time (it, the window manager and a busy loop share one core):
#  - round trip: from a normal window at 300,12, maximise, full screen, leave full screen,
#    restore, twice per start; close and start again with the saved settings, RUNS times in
#    a row. The frame never reaches above the work area, every restore and every start puts
#    it back at 300,12, and the saved place stays 300,12;
#  - a settings file whose place is above and left of the screen starts the window with its
#    frame on the work area, and that is the place saved;
#  - a window started maximised is restored onto the work area.
# Every step waits for the state it asked for, never for a fixed time.
# Usage: xvfb-run -a -s "-screen 0 WxHx24" Window_Place_Test.sh PROGRAM [RUNS]
# The window manager is KARDUN_TEST_WM: openbox (the default), xfwm4 or metacity.
set -uo pipefail
PROGRAM=$(realpath "$1")
RUNS=${2:-20}
WM=${KARDUN_TEST_WM:-openbox}
export QT_QPA_PLATFORM=xcb
# xfwm4 reads its settings over a session bus: it gets one of its own.
if [ "$WM" = xfwm4 ] && [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
  exec dbus-run-session -- bash "$(realpath "$0")" "$PROGRAM" "$RUNS"
fi
work=$(mktemp -d) wm_pid="" pid="" busy_pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; [ -n "$busy_pid" ] && kill "$busy_pid";
      [ -n "$wm_pid" ] && kill "$wm_pid"; wait; rm -rf "$work"' EXIT
cd "$work" || exit 1
# One core for everything started from here on, with a busy loop beside the program.
core=$(taskset -cp $$ | sed 's/.*: //; s/[,-].*//')
taskset -cp "$core" $$ >/dev/null
( while :; do :; done ) &
busy_pid=$!
case "$WM" in
  openbox) openbox --sm-disable >/dev/null 2>&1 & ;;
  xfwm4) xfwm4 --compositor=off --sm-client-disable >/dev/null 2>&1 & ;;
  metacity) metacity --sm-disable --no-composite >/dev/null 2>&1 & ;;
  *) echo "Unknown window manager $WM." >&2; exit 1 ;;
esac
wm_pid=$!
Wait() {   # Wait SECONDS COMMAND...: until the command succeeds
  local end=$((SECONDS + $1)); shift
  until "$@"; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done
}
Wait 60 bash -c 'xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS' ||
  { echo "The window manager ($WM) did not start." >&2; exit 1; }
read -r s_w s_h < <(xwininfo -root | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }')

Settings() {   # the program's settings file from KEY VALUE pairs
  rm -f KardunGD.ini
  local kv
  for kv in "$@" "Port_Name $work/none"; do printf '%-29s%s {}\r\n' $kv >>KardunGD.ini; done
}
Saved() { awk -v k="$1" 'toupper($1) == toupper(k) { print $2 }' KardunGD.ini; }
id=""
Start() {
  rm -f geometry
  KARDUN_GEOMETRY_FILE=geometry "$PROGRAM" >>program.log 2>&1 &
  pid=$! id=""
  Wait 60 bash -c '[ -s geometry ]' && id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
  [ -n "$id" ] || { echo "The program showed no main window." >&2; cat program.log >&2; exit 1; }
}
Stop() {
  wmctrl -i -c "$id"
  Wait 60 bash -c "! kill -0 $pid 2>/dev/null" || { echo "The program did not end when closed." >&2; exit 1; }
  wait "$pid"; pid=""
}
# The frame "LEFT TOP WIDTH HEIGHT" (client and _NET_FRAME_EXTENTS) and the state.
Frame() {
  local x y w h l r t b
  read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                               /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }')
  read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  echo $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) "$w" "$h" "$t"
}
State() {
  local s; s=$(xprop -id "$id" _NET_WM_STATE)
  case "$s" in
    *FULLSCREEN*) echo full ;;
    *MAXIMIZED_VERT*MAXIMIZED_HORZ* | *MAXIMIZED_HORZ*MAXIMIZED_VERT*) echo maximised ;;
    *MAXIMIZED*) echo half ;;
    *) echo normal ;;
  esac
}
# Settled in STATE: the window manager's state, the program's client size is the X server's,
# a normal window at the design size with its frame drawn.
Settled() {
  local fx fy fw fh w h t c_w c_h
  [ "$(State)" = "$1" ] || return 1
  read -r fx fy fw fh w h t < <(Frame)
  read -r c_w c_h < <(awk '{ print $2, $3 }' geometry)
  [ "$c_w $c_h" = "$w $h" ] || return 1
  [ "$1" != normal ] || { [ "$w $h" = "780 520" ] && [ "${t:-0}" -gt 0 ]; }
}
failures=0
Fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
# The frame at the expected place (EXPECTED "LEFT TOP", or "-" for anywhere) and within the
# work area.
Check() {
  local what=$1 expected=$2 fx fy fw fh w h t
  read -r fx fy fw fh w h t < <(Frame)
  if [ "$fy" -lt 0 ] || [ "$fx" -lt 0 ] || [ $((fx + fw)) -gt "$s_w" ] || [ $((fy + fh)) -gt "$s_h" ]; then
    Fail "$what: the frame ${fw}x$fh at $fx,$fy leaves the screen ${s_w}x$s_h"
  elif [ "$expected" != - ] && [ "$fx $fy" != "$expected" ]; then
    Fail "$what: the frame is at $fx,$fy, not at ${expected/ /,}"
  else echo "ok: $what: frame ${fw}x$fh at $fx,$fy"; fi
}
Step() {   # Step WMCTRL_STATE_CHANGE STATE
  wmctrl -i -r "$id" -b "$1"
  Wait 30 Settled "$2" || { Fail "$1: the window did not settle $2 ($(State), $(Frame), $(cat geometry))"; return 1; }
}

echo "== round trip under $WM, ${s_w}x$s_h, $RUNS starts"
Settings "Full_Screen False" "Position_Top 12" "Position_Left 300"
for run in $(seq "$RUNS"); do
  Start
  Wait 30 Settled normal || Fail "start $run: the window did not settle normal"
  Check "start $run" "300 12"
  for round in 1 2; do
    Step add,maximized_vert,maximized_horz maximised && Step add,fullscreen full &&
      Step remove,fullscreen maximised && Step remove,maximized_vert,maximized_horz normal &&
      Check "start $run, restore $round" "300 12"
  done
  Stop
  [ "$(Saved Position_Left) $(Saved Position_Top)" = "300 12" ] ||
    Fail "start $run: the place saved is $(Saved Position_Left),$(Saved Position_Top), not 300,12"
  [ "$failures" -eq 0 ] || break
done

echo "== a place above and left of the screen"
Settings "Full_Screen False" "Position_Top -48" "Position_Left -30"
Start
Wait 30 Settled normal || Fail "negative place: the window did not settle normal"
Check "negative place, start" -
Stop
[ "$(Saved Position_Left)" -ge 0 ] && [ "$(Saved Position_Top)" -ge 0 ] ||
  Fail "negative place: the place saved is $(Saved Position_Left),$(Saved Position_Top)"

echo "== started maximised"
Settings "Full_Screen True"
Start
Wait 30 Settled maximised || Fail "started maximised: the window is not maximised"
Step remove,maximized_vert,maximized_horz normal && Check "started maximised, restored" -
Stop
[ "$failures" -eq 0 ] || { echo "The program's output:" >&2; tail -n 40 program.log >&2; }
exit $((failures > 0))
