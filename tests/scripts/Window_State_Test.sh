#!/usr/bin/env bash
# The main window after each of openbox's own actions (maximise button clicks, Alt + right
# drag, states set through the window manager) must be whole: maximised or full screen with
# the pages filling it, or normal at 780 x 520; the program's client size the X server's; the
# frame on the screen. Usage: xvfb-run -a Window_State_Test.sh PROGRAM
set -uo pipefail
PROGRAM=$1
export QT_QPA_PLATFORM=xcb
work=$(mktemp -d) wm_pid="" pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid"; Stop_Window_Manager; rm -rf "$work"' EXIT
. "$(dirname "$0")/wm.sh"
cd "$work" || exit 1
Start_Window_Manager || exit 1
# A normal window at a place of its own, no port to connect to.
for kv in "Full_Screen False" "Position_Top 60" "Position_Left 80" "Port_Name $work/none"; do
  printf '%-29s%s {}\r\n' $kv >>KardunGD.ini
done
KARDUN_GEOMETRY_FILE=geometry "$PROGRAM" >program.log 2>&1 &
pid=$!
id=""
for _ in $(seq 200); do
  [ -s geometry ] && id=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1)
  [ -n "$id" ] && break
  sleep 0.1
done
[ -n "$id" ] || { echo "The program showed no main window." >&2; cat program.log >&2; exit 1; }
sleep 2

# Client "X Y W H" and frame extents "LEFT RIGHT TOP BOTTOM" on the X server.
Client() { xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                     /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }'; }
Extents() { xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'; }
Act() {
  local x y w h l r t b i
  read -r x y w h < <(Client)
  read -r l r t b < <(Extents)
  case "$1" in
    click*) xdotool mousemove $((x + w + r - 31)) $((y - t / 2)) click "${1#click }" ;;   # maximise button (NLIMC)
    alt-drag) xdotool mousemove $((x + w / 2)) $((y + h - 20)) keydown alt mousedown 3
              for i in 1 2 3 4 5; do sleep 0.1; xdotool mousemove $((x + w / 2)) $((y + h - 20 - i * 40)); done
              xdotool mouseup 3 keyup alt ;;
    minimise-back) xdotool windowminimize "$id"; sleep 1; wmctrl -i -a "$id" ;;
    add* | remove*) wmctrl -i -r "$id" -b "$1" ;;
  esac
}
# maximised (both directions), full (full screen) or design (normal, 780 x 520, pages too).
failures=0
# Judge STEP against STATE once; what is wrong is left in bad (empty when all holds).
Judge() {
  local x y w h l r t b state vmax hmax full c_w c_h p_l p_t p_w p_h s_w s_h
  bad=""
  read -r x y w h < <(Client)
  read -r l r t b < <(Extents)
  state=$(xprop -id "$id" _NET_WM_STATE)
  read -r c_w c_h p_l p_t p_w p_h < <(awk '{ print $2, $3, $7, $8, $9, $10 }' geometry)
  read -r s_w s_h < <(xwininfo -root | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }')
  vmax=$(grep -c MAXIMIZED_VERT <<<"$state") hmax=$(grep -c MAXIMIZED_HORZ <<<"$state") full=$(grep -c FULLSCREEN <<<"$state")
  [ "$vmax" = "$hmax" ] || bad+=" maximised in one direction only;"
  [ "$c_w $c_h" = "$w $h" ] || bad+=" the program's client area is ${c_w}x$c_h, the X server's ${w}x$h;"
  [ "$p_l" -ge 0 ] && [ "$p_t" -ge 0 ] && [ $((p_l + p_w)) -le "$w" ] && [ $((p_t + p_h)) -le "$h" ] ||
    bad+=" the pages ${p_w}x$p_h at $p_l,$p_t leave the client area;"
  [ "$full" = 1 ] || [ $((y - t)) -ge 0 ] || bad+=" the frame (title bar) reaches above the screen (its top at $((y - t)));"
  case "$2" in
    maximised | full)
      [ "$2" = full ] && { [ "$full" = 1 ] && [ "$w $h" = "$s_w $s_h" ] || bad+=" not full screen;"; }
      [ "$2" = maximised ] && { [ "$vmax$hmax$full" = 110 ] || bad+=" not maximised;"; }
      [ $((p_h * 100)) -ge $((h * 95)) ] || [ $((p_w * 100)) -ge $((w * 95)) ] || bad+=" the pages do not fill the client area;" ;;
    design)
      [ "$vmax$hmax$full" = 000 ] || bad+=" not normal;"
      [ "$w $h $p_w $p_h" = "780 520 780 520" ] || bad+=" client ${w}x$h, pages ${p_w}x$p_h, not 780x520;" ;;
  esac
  if [ -n "$bad" ]; then bad="expected $2 ($state):$bad"
  else seen="$2, client ${w}x$h at $x,$y, pages ${p_w}x$p_h"; fi
}
# The window manager and the program answer in their own time (later on a busy machine):
# a step holds once its state is seen, within Settle_Seconds.
Settle_Seconds=15
Check() {
  local deadline=$(( $(date +%s) + Settle_Seconds )) bad="" seen=""
  while :; do
    Judge "$1" "$2"
    [ -z "$bad" ] && { echo "ok: $1: $seen"; return; }
    [ "$(date +%s)" -ge "$deadline" ] && break
    sleep 0.2
  done
  echo "FAILED: $1: $bad" >&2
  failures=$((failures + 1))
}
# Step and the whole state it leaves, each from the row before: middle click maximises
# vertically, right click horizontally, the drag takes one direction from a maximised window.
for row in start:design "click 2":maximised "click 2":design "click 3":maximised "click 3":design \
           "click 1":maximised alt-drag:design add,maximized_vert:maximised remove,maximized_horz:design \
           add,maximized_horz:maximised add,fullscreen:full remove,fullscreen:maximised \
           minimise-back:maximised remove,maximized_vert,maximized_horz:design add,fullscreen:full \
           remove,fullscreen:design minimise-back:design; do
  # The maximise button's clicks and the Alt + right drag are openbox's own.
  [ "${KARDUN_TEST_WM:-openbox}" = openbox ] || case "$row" in click* | alt-drag*) continue ;; esac
  Act "${row%:*}"
  # A step whose state is the one before must first have been taken.
  sleep 1.5
  Check "${row%:*}" "${row#*:}"
done
kill -0 "$pid" 2>/dev/null || { echo "The program ended on its own." >&2; failures=$((failures + 1)); }
exit $((failures > 0))
