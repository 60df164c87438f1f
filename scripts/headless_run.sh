#!/usr/bin/env bash
# The headless part of the start command, run on an X server of its own:
#   headless_run.sh PROGRAM SCREENSHOT EMULATOR_LOG [program arguments...]
# The X server first gets a window manager (openbox), as a technician's desktop has one;
# KARDUN_WINDOW_MANAGER=none leaves it bare. Then PROGRAM starts in the current folder with
# the default window settings (maximised main window). With the emulator's request log (an
# empty argument when there is none) it waits until the program is connected (see
# Link_Connected) and fails when it is not within KARDUN_CONNECT_TIMEOUT seconds (default
# 60); without one it waits KARDUN_SCREENSHOT_DELAY seconds (default 5). Then it checks the
# main window (Window_Check), saves a screenshot of the screen to SCREENSHOT and closes the
# program, failing when the program has ended on its own or does not close cleanly.
# After a run that passed, the restart check (Restart_Check; KARDUN_RESTART_CHECK=0 skips
# it) starts the program three times more with a normal main window and a big-digit window
# open, and fails when a saved place or size moves. The settings file is put back as it was
# before the restarts.
set -uo pipefail
PROGRAM=$1
SCREENSHOT=$2
EMU_LOG=$3
shift 3
# The program draws on this X server, also when the caller's tests run offscreen.
export QT_QPA_PLATFORM=xcb
GEOMETRY=$(mktemp)
wm_pid=""
trap 'rm -f "$GEOMETRY"; [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null' EXIT

# ---------------------------------------------------------------- the window manager
if [ "${KARDUN_WINDOW_MANAGER:-openbox}" != none ]; then
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  # Ready when it announces the frame extents: a program started before that would not
  # learn its windows' frames.
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS && break
    sleep 0.1
  done
  if ! xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS; then
    echo "The window manager (openbox) did not start." >&2
    exit 1
  fi
fi

# ---------------------------------------------------------------- settings file keys
# Sets KEY to VALUE in the program's settings file (29-column keys, CR LF).
Set_Key() {
  touch KardunGD.ini
  sed -i "/^$1[[:space:]]/Id" KardunGD.ini
  printf '%-29s%s {}\r\n' "$1" "$2" >>KardunGD.ini
}
# The value of KEY in the settings file (empty when it has none).
Key() {
  tr -d '\r' <KardunGD.ini | awk -v k="$1" 'toupper($1) == toupper(k) { print $2; exit }'
}

# ---------------------------------------------------------------- the program's windows
# The program's report of its main window: "client W H maximised M panel L T W H window ID".
Report() { cat "$GEOMETRY" 2>/dev/null; }
Report_Field() { Report | awk -v f="$1" '{ for (i = 1; i < NF; ++i) if ($i == f) print $(i + 1) }'; }
# Waits (up to 20 s) until the program has reported a shown main window.
Wait_For_Window() {
  for _ in $(seq 200); do
    local id
    id=$(Report_Field window)
    [ -n "$id" ] && [ "$id" != 0 ] && xwininfo -id "$id" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "The program reported no shown main window." >&2
  return 1
}
# The client size of window ID as the X server has it: "W H".
X_Size() { xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w, h }'; }
X_Maximised() {
  local state
  state=$(xprop -id "$1" _NET_WM_STATE 2>/dev/null)
  [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}

# The main window as the X server and the program see it. EXPECTED is "maximised" (the
# window manager's state says so, the window is as wide as the screen, and the content
# fills the client area: 95 % of its height or width) or "design" (a normal window of the
# design client size, the content at its design size). Either way the content lies
# within the client area and the program's client size is the X server's.
Window_Check() {
  local expected=$1 id failures=0
  id=$(Report_Field window)
  read -r x_width x_height < <(X_Size "$id")
  c_width=$(Report | awk '{ print $2 }')
  c_height=$(Report | awk '{ print $3 }')
  read -r p_left p_top p_width p_height < <(Report | awk '{ for (i = 1; i < NF; ++i) if ($i == "panel") print $(i + 1), $(i + 2), $(i + 3), $(i + 4) }')
  local screen_width
  screen_width=$(xwininfo -root | awk '/^ *Width:/ { print $2 }')
  Fail() { echo "Window check ($expected): $*" >&2; failures=$((failures + 1)); }
  [ "$c_width $c_height" = "$x_width $x_height" ] ||
    Fail "the program's client area is ${c_width}x$c_height, the X server's ${x_width}x$x_height"
  if [ "$p_left" -lt 0 ] || [ "$p_top" -lt 0 ] || [ $((p_left + p_width)) -gt "$x_width" ] ||
     [ $((p_top + p_height)) -gt "$x_height" ]; then
    Fail "the pages (${p_width}x$p_height at $p_left,$p_top) do not lie within the client area ${x_width}x$x_height"
  fi
  case "$expected" in
    maximised)
      if [ -n "$wm_pid" ]; then
        X_Maximised "$id" || Fail "the window manager does not hold the window maximised ($(xprop -id "$id" _NET_WM_STATE))"
        [ "$x_width" -ge $((screen_width - 10)) ] || Fail "the maximised window is ${x_width} wide on a screen ${screen_width} wide"
        [ $((p_height * 100)) -ge $((x_height * 95)) ] || [ $((p_width * 100)) -ge $((x_width * 95)) ] ||
          Fail "the pages (${p_width}x$p_height) do not fill the client area ${x_width}x$x_height"
      fi
      ;;
    design)
      X_Maximised "$id" && Fail "the window is maximised"
      [ "$x_width $x_height" = "780 520" ] || Fail "the client area is ${x_width}x$x_height, not 780x520"
      [ "$p_width $p_height" = "780 520" ] || Fail "the pages are ${p_width}x$p_height, not 780x520"
      ;;
  esac
  [ "$failures" = 0 ] && echo "Window check ($expected): client ${x_width}x$x_height, pages ${p_width}x$p_height at $p_left,$p_top."
  return $((failures > 0))
}

# Drags the main window's frame by its bottom right corner, and by the window manager's
# Alt + right button, 150 x 100 pixels outwards; the frame is not to be dragged to another
# size.
Drag_Frame() {
  local id=$1 x y w h
  read -r x y w h < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                                             /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }')
  Drag() {   # Drag X Y BUTTON [KEY]
    xdotool mousemove "$1" "$2" ${4:+keydown $4} mousedown "$3"
    for step in 1 2 3 4 5; do
      sleep 0.1
      xdotool mousemove $(($1 + step * 30)) $(($2 + step * 20))
    done
    xdotool mouseup "$3" ${4:+keyup $4}
    sleep 0.5
  }
  Drag $((x + w - 3)) $((y + h + 2)) 1
  Drag $((x + w - 100)) $((y + h - 100)) 3 alt
  sleep 0.5
}

# Closes the program (pid $1); fails when it has ended on its own or does not close cleanly.
Close_Program() {
  local pid=$1 code
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    # A program that does not close within 30 s is ended by force.
    (
      for _ in $(seq 300); do
        sleep 0.1
        kill -0 "$pid" 2>/dev/null || exit 0
      done
      kill -KILL "$pid"
    ) >/dev/null 2>&1 &
    wait "$pid"
    code=$?
    if [ "$code" -ne 0 ]; then
      echo "The program did not close cleanly (exit status $code)." >&2
      return 1
    fi
    return 0
  fi
  wait "$pid"
  echo "The program ended on its own (exit status $?)." >&2
  return 1
}

# ---------------------------------------------------------------- the start

# Connected, as the controller sees it: since the last probe (a new connect attempt after a
# lost link starts with one) the program has read the configuration block (0x27), which
# only a connected link does, and has then gone on polling live data (0x26) at least
# Polls_Needed times. Each request is a line "rx 61 <command> ...".
Polls_Needed=10
Link_Connected() {
  local rx mode command rest configuration=0 polls=0
  while read -r rx mode command rest; do
    [ "$rx" = rx ] && [ "$mode" = 61 ] || continue
    case "$command" in
      21) configuration=0; polls=0 ;;
      27) configuration=1; polls=0 ;;
      26) [ "$configuration" = 1 ] && polls=$((polls + 1)) ;;
    esac
  done <"$EMU_LOG"
  [ "$polls" -ge "$Polls_Needed" ]
}

# The default window settings: the main window maximised.
Set_Key FULL_SCREEN True
rm -f "$GEOMETRY"
KARDUN_GEOMETRY_FILE=$GEOMETRY "$PROGRAM" "$@" &
pid=$!
status=0
if [ -n "$EMU_LOG" ]; then
  deadline=$((SECONDS + ${KARDUN_CONNECT_TIMEOUT:-60}))
  until Link_Connected; do
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "The program ended before it connected." >&2
      status=1
      break
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      echo "The program did not connect to the emulator within ${KARDUN_CONNECT_TIMEOUT:-60} s." >&2
      status=1
      break
    fi
    sleep 0.5
  done
  if [ "$status" = 0 ]; then
    echo "Connected: the program read the configuration and polls live data."
    sleep 2   # a few live-data polls more on the screen
  else
    echo "Last requests the emulator received:" >&2
    tail -n 20 "$EMU_LOG" >&2
  fi
else
  sleep "${KARDUN_SCREENSHOT_DELAY:-5}"
fi
if kill -0 "$pid" 2>/dev/null; then
  Wait_For_Window && Window_Check maximised || status=1
fi
import -window root "$SCREENSHOT" || echo "No screenshot could be taken." >&2
Close_Program "$pid" || status=1

# ---------------------------------------------------------------- the restart check
# A normal main window and big-digit window 3 at places of their own; three starts, each
# checked, the first one also dragged at its frame; after each the saved places and sizes
# must be the ones set.
Restart_Check() {
  local failures=0 run key
  local -A Set=([POSITION_TOP]=100 [POSITION_LEFT]=150 [FORM_ICO_FLAG_3]=True [FORM_ICO_TOP_3]=300
                [FORM_ICO_LEFT_3]=600 [FORM_ICO_WIDTH_3]=200 [FORM_ICO_HEIGHT_3]=140)
  Set_Key FULL_SCREEN False
  for key in "${!Set[@]}"; do Set_Key "$key" "${Set[$key]}"; done
  for run in 1 2 3; do
    rm -f "$GEOMETRY"
    KARDUN_GEOMETRY_FILE=$GEOMETRY "$PROGRAM" "$@" &
    local run_pid=$!
    if Wait_For_Window; then
      sleep 2   # the frames arrive, the big-digit window lays itself out
      Window_Check design || failures=$((failures + 1))
      if [ "$run" = 1 ] && [ -n "$wm_pid" ]; then
        Drag_Frame "$(Report_Field window)"
        Window_Check design || { echo "(after drags at the frame)" >&2; failures=$((failures + 1)); }
      fi
    else
      failures=$((failures + 1))
    fi
    Close_Program "$run_pid" || failures=$((failures + 1))
    for key in "${!Set[@]}"; do
      local saved
      saved=$(Key "$key")
      if [ "${saved,,}" != "${Set[$key],,}" ]; then
        echo "Restart check: after start $run the settings file holds $key $saved, set was ${Set[$key]}." >&2
        failures=$((failures + 1))
      fi
    done
  done
  [ "$failures" = 0 ] && echo "Restart check: three starts, the saved places and sizes did not move."
  return $((failures > 0))
}

if [ "$status" = 0 ] && [ "${KARDUN_RESTART_CHECK:-1}" != 0 ]; then
  cp KardunGD.ini "$GEOMETRY.ini"
  Restart_Check "$@" || status=1
  cp "$GEOMETRY.ini" KardunGD.ini
  rm -f "$GEOMETRY.ini"
fi
exit "$status"
