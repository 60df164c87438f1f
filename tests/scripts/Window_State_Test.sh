#!/usr/bin/env bash
# The main window in every state the window manager (openbox) puts it in, by openbox's own
# actions: the maximise button's left, middle (vertical) and right (horizontal) clicks, an
# Alt + right drag at the bottom edge of the maximised window, and its states set through the
# window manager (one direction maximised, full screen, minimised and back). After each step
# the window must be whole: maximised in both directions with the pages filling the client
# area, full screen likewise, or normal at the design size 780 x 520; the program's client
# size is the X server's (else part of the window keeps an old picture); the title bar is on
# the screen. Runs on an X server of its own:
#   xvfb-run -a -s "-screen 0 1366x768x24" Window_State_Test.sh PROGRAM [SHOT_DIR]
# With SHOT_DIR, a screenshot of the screen after each step goes there.
set -uo pipefail
PROGRAM=$1
SHOTS=${2:-}
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d)
wm_pid=""
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid"; [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
[ -n "$SHOTS" ] && mkdir -p "$SHOTS"

openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS && break
  sleep 0.1
done

# A normal main window at a place of its own, no port to connect to.
for kv in "Full_Screen False" "Position_Top 60" "Position_Left 80" "Port_Name $work/none"; do
  printf '%-29s%s {}\r\n' $kv >>KardunGD.ini
done
GEOMETRY=$work/geometry
KARDUN_GEOMETRY_FILE=$GEOMETRY "$PROGRAM" >program.log 2>&1 &
pid=$!

# The program's report ("client W H maximised M panel L T W H window ID") is written when
# the window is shown; the X server names the main window (the program's one shown window).
id=""
for _ in $(seq 200); do
  [ -s "$GEOMETRY" ] && id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
  [ -n "$id" ] && break
  sleep 0.1
done
if [ -z "$id" ]; then
  echo "The program reported no shown main window." >&2
  cat program.log >&2
  exit 1
fi
sleep 2

# Client place and size on the X server: "X Y W H"; frame extents: "LEFT RIGHT TOP BOTTOM".
Client() { xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                     /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }'; }
Extents() { xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }
Net_State() { xprop -id "$id" _NET_WM_STATE; }

# The maximise button (title layout NLIMC: the one left of the close button) and the
# window's bottom edge, in screen coordinates.
Click_Maximise() {   # Click_Maximise BUTTON
  local x y w h l r t b
  read -r x y w h < <(Client)
  read -r l r t b < <(Extents)
  xdotool mousemove $((x + w + r - 31)) $((y - t / 2)) click "$1"
}
Alt_Right_Drag() {
  local x y w h
  read -r x y w h < <(Client)
  xdotool mousemove $((x + w / 2)) $((y + h - 20)) keydown alt mousedown 3
  local i
  for i in 1 2 3 4 5; do
    sleep 0.1
    xdotool mousemove $((x + w / 2)) $((y + h - 20 - i * 40))
  done
  xdotool mouseup 3 keyup alt
}
Minimise_And_Back() {
  xdotool windowminimize "$id"
  sleep 1
  wmctrl -i -a "$id"
}

# The window after a step: maximised (both directions, the pages fill the client area's
# height or width), full (full screen, likewise) or design (normal, 780 x 520, pages too).
failures=0
Check() {
  local step=$1 expected=$2 x y w h l r t b state c_w c_h p_l p_t p_w p_h screen_w screen_h bad=""
  read -r x y w h < <(Client)
  read -r l r t b < <(Extents)
  state=$(Net_State)
  read -r c_w c_h < <(awk '{ print $2, $3 }' "$GEOMETRY")
  read -r p_l p_t p_w p_h < <(awk '{ for (i = 1; i < NF; ++i) if ($i == "panel") print $(i + 1), $(i + 2), $(i + 3), $(i + 4) }' "$GEOMETRY")
  read -r screen_w screen_h < <(xwininfo -root | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }')
  local vert=0 horz=0 full=0
  [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* ]] && vert=1
  [[ $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]] && horz=1
  [[ $state == *_NET_WM_STATE_FULLSCREEN* ]] && full=1
  [ "$vert" = "$horz" ] || bad+=" maximised in one direction only ($state);"
  [ "$c_w $c_h" = "$w $h" ] || bad+=" the program's client area is ${c_w}x$c_h, the X server's ${w}x$h;"
  [ "$p_l" -ge 0 ] && [ "$p_t" -ge 0 ] && [ $((p_l + p_w)) -le "$w" ] && [ $((p_t + p_h)) -le "$h" ] ||
    bad+=" the pages (${p_w}x$p_h at $p_l,$p_t) leave the client area ${w}x$h;"
  [ "$full" = 1 ] || [ $((y - t)) -ge 0 ] || bad+=" the frame (title bar) reaches above the screen (its top at $((y - t)));"
  case "$expected" in
    maximised)
      [ "$vert$horz$full" = 110 ] || bad+=" not maximised ($state);"
      [ $((p_h * 100)) -ge $((h * 95)) ] || [ $((p_w * 100)) -ge $((w * 95)) ] ||
        bad+=" the pages (${p_w}x$p_h) do not fill the client area ${w}x$h;" ;;
    full)
      [ "$full" = 1 ] && [ "$w $h" = "$screen_w $screen_h" ] || bad+=" not full screen (${w}x$h, $state);"
      [ $((p_h * 100)) -ge $((h * 95)) ] || [ $((p_w * 100)) -ge $((w * 95)) ] ||
        bad+=" the pages (${p_w}x$p_h) do not fill the client area ${w}x$h;" ;;
    design)
      [ "$vert$horz$full" = 000 ] || bad+=" not normal ($state);"
      [ "$w $h $p_w $p_h" = "780 520 780 520" ] || bad+=" client ${w}x$h, pages ${p_w}x$p_h, not 780x520;" ;;
  esac
  [ -n "$SHOTS" ] && import -window root "$SHOTS/$(printf '%02d' "$n")_${step// /_}.png" 2>/dev/null
  if [ -n "$bad" ]; then
    echo "FAILED: $step: expected $expected:$bad" >&2
    failures=$((failures + 1))
  else
    echo "ok: $step: $expected, client ${w}x$h at $x,$y, pages ${p_w}x$p_h"
  fi
}

# One row: the step and the whole state it must leave. Each starts from the row before.
Steps=(
  "start|design"
  "middle click on maximise|maximised"
  "middle click on maximise|design"
  "right click on maximise|maximised"
  "right click on maximise|design"
  "left click on maximise|maximised"
  "Alt right drag at the bottom|design"
  "wmctrl add,maximized_vert|maximised"
  "wmctrl remove,maximized_horz|design"
  "wmctrl add,maximized_horz|maximised"
  "wmctrl add,fullscreen|full"
  "wmctrl remove,fullscreen|maximised"
  "minimise and back|maximised"
  "wmctrl remove,maximized_vert,maximized_horz|design"
  "wmctrl add,fullscreen|full"
  "wmctrl remove,fullscreen|design"
  "minimise and back|design"
)
n=0
for row in "${Steps[@]}"; do
  step=${row%|*}
  expected=${row#*|}
  n=$((n + 1))
  case "$step" in
    start) ;;
    "middle click on maximise") Click_Maximise 2 ;;
    "right click on maximise") Click_Maximise 3 ;;
    "left click on maximise") Click_Maximise 1 ;;
    "Alt right drag at the bottom") Alt_Right_Drag ;;
    "minimise and back") Minimise_And_Back ;;
    wmctrl*) wmctrl -i -r "$id" -b "${step#wmctrl }" ;;
  esac
  sleep 1.5
  Check "$step" "$expected"
done
if ! kill -0 "$pid" 2>/dev/null; then
  echo "The program ended on its own." >&2
  failures=$((failures + 1))
fi
exit $((failures > 0))
