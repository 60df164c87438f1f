#!/usr/bin/env bash
# The headless part of the start command, run on an X server of its own:
#   headless_run.sh PROGRAM SCREENSHOT EMULATOR_LOG [program arguments...]
# The X server first gets a window manager, as a technician's desktop has one: openbox, or
# the one KARDUN_WINDOW_MANAGER names (xfwm4, metacity; none leaves it bare; see
# tests/scripts/wm.sh). Then PROGRAM starts in the current folder with
# the default window settings (maximised main window). With the emulator's request log (an
# empty argument when there is none) it waits until the program is connected (see
# Link_Connected) and fails when it is not within KARDUN_CONNECT_TIMEOUT seconds (default
# 60); without one it waits KARDUN_SCREENSHOT_DELAY seconds (default 5). Then it checks the
# main window (Window_Check: the X server's window against the program's report of what it
# draws), restores and maximises it again by the F key and by double clicks on the title bar,
# checking each state (Maximise_Rounds), saves a screenshot of the screen to SCREENSHOT and
# closes the program, failing when the program has ended on its own or does not close
# cleanly.
# After a run that passed, the restart check (Restart_Check; KARDUN_RESTART_CHECK=0 skips
# it) starts the program four times more with a normal main window, drags its frame in the
# first start and opens a big-digit window in the other three, and fails when the window
# leaves its design size or a saved place or size moves. The settings file is put back as
# it was before the restarts.
set -uo pipefail
PROGRAM=$1
SCREENSHOT=$2
EMU_LOG=$3
shift 3
# The program draws on this X server, also when the caller's tests run offscreen.
export QT_QPA_PLATFORM=xcb
GEOMETRY=$(mktemp)
. "$(dirname "$0")/../tests/scripts/wm.sh"
trap 'rm -f "$GEOMETRY"; Stop_Window_Manager' EXIT

# ---------------------------------------------------------------- the window manager
KARDUN_TEST_WM=${KARDUN_WINDOW_MANAGER:-${KARDUN_TEST_WM:-openbox}} Start_Window_Manager || exit 1

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
# The design client size the content is laid out for.
Design_Width=780
Design_Height=520
# The program's report of its main window (see Geometry_Report), a line
#   client W H maximised M panel L T W H window ID pages L T W H design L T W H
#   port_status L T W H design L T W H tab_row L T W H tabs_fit F
# then a line for each control of the status row and the forcing strip:
#   control NAME shown S at L T W H design L T W H text TEXT
Report() { cat "$GEOMETRY" 2>/dev/null; }
# The status row and the forcing strip as the technician sees them: each control, whether it
# is drawn (1 yes, 0 no, - either) and what it writes, at any time and while the program is
# connected (Linked 1). A text is written as it must read, or "+" (some text), "." (any,
# none too), "@port" (the settings' port name) or "@link" (some text, not the words of a
# lost link). Drawn, a control lies at its design rectangle times the scale.
Linked=0
Row_Controls=(
  # control                     drawn  linked  text  linked
  "Button_WorkMode                1      1       +     +"
  "Button_Gas_Fors1               1      1       1     1"
  "Button_Gas_Fors2               1      1       2     2"
  "Button_Gas_Fors3               1      1       3     3"
  "Button_Gas_Fors4               1      1       4     4"
  "Button_Gas_Fors5               1      1       5     5"
  "Button_Gas_Fors6               1      1       6     6"
  "Button_Gas_Fors7               1      1       7     7"
  "Button_Gas_Fors8               1      1       8     8"
  "Button_Gas_Fors_All            1      1       *     *"
  "Panel_WorkMode                 1      1       +     +"
  "Panel_ErrorStatus              -      -       +     +"
  "Panel_PortStatus               1      1       +     @port"
  "Panel_ConnectStatus            1      1       +     @link"
  "Panel_ConnectStatus_PerCent    1      1       +     100%"
  "Panel_ProtokolStatus           -      1       .     ."
  "Button_Select_ComPort          -      0       I     I"
)
# What the link panel reads while there is no link (its design caption, its English text).
Unlinked_Texts=("Not connect" "Disconnect")
# The COUNT fields after KEY in the report line REPORT (the first KEY where it repeats).
Fields() {
  awk -v k="$1" -v n="$2" '{ for (i = 1; i + n <= NF; ++i) if ($i == k) {
                               s = $(i + 1); for (j = 2; j <= n; ++j) s = s " " $(i + j); print s; exit } }' <<<"$3"
}
Report_Field() { Fields "$1" 1 "$(Report)"; }
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
# The client area's place on the screen and its size: "X Y W H".
X_Place() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { y = $4 }
                           /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print x, y, w, h }'
}
X_Maximised() {
  local state
  state=$(xprop -id "$1" _NET_WM_STATE 2>/dev/null)
  [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state == *_NET_WM_STATE_MAXIMIZED_HORZ* ]]
}

# The main window as the X server and the program see it. EXPECTED is "maximised" (the
# window manager's state says so, the window is as wide as the screen, the content fills
# the client area's height, or its width where that is the narrower: 95 %) or "design" (a
# normal window of the design client size). Either way the program holds the window in that
# state, the content lies within the client area, the program's client size is the X
# server's, the tab row shows every tab without scroll arrows, and the pages and the status
# row's port panel are drawn at their design rectangles times the scale the X server's
# client size gives (maximised: its height over the design height, or its width over the
# design width where that is smaller; normal: 1), within 2 pixels. Without a window manager
# nothing resizes the window, so maximised is the design size there.
Window_Check() {
  local expected=$1 failures=0 report id
  report=$(Report)
  id=$(Fields window 1 "$report")
  read -r x_width x_height < <(X_Size "$id")
  read -r c_width c_height < <(Fields client 2 "$report")
  read -r p_left p_top p_width p_height < <(Fields panel 4 "$report")
  local screen_width
  screen_width=$(xwininfo -root | awk '/^ *Width:/ { print $2 }')
  Fail() { echo "Window check ($expected): $*" >&2; failures=$((failures + 1)); }
  [ "$c_width $c_height" = "$x_width $x_height" ] ||
    Fail "the program's client area is ${c_width}x$c_height, the X server's ${x_width}x$x_height"
  if [ "$p_left" -lt 0 ] || [ "$p_top" -lt 0 ] || [ $((p_left + p_width)) -gt "$x_width" ] ||
     [ $((p_top + p_height)) -gt "$x_height" ]; then
    Fail "the pages (${p_width}x$p_height at $p_left,$p_top) do not lie within the client area ${x_width}x$x_height"
  fi
  local program_state=normal
  [ "$(Fields maximised 1 "$report")" = 1 ] && program_state=maximised
  [ "$program_state" = "${expected/design/normal}" ] || Fail "the program holds its window $program_state"
  local multiplier=1 divisor=1
  case "$expected" in
    maximised)
      if [ $((x_height * Design_Width)) -le $((x_width * Design_Height)) ]; then
        multiplier=$x_height divisor=$Design_Height
      else
        multiplier=$x_width divisor=$Design_Width
      fi
      if [ -n "$wm_pid" ]; then
        X_Maximised "$id" || Fail "the window manager does not hold the window maximised ($(xprop -id "$id" _NET_WM_STATE))"
        [ "$x_width" -ge $((screen_width - 10)) ] || Fail "the maximised window is ${x_width} wide on a screen ${screen_width} wide"
        [ $((p_height * 100)) -ge $((x_height * 95)) ] || [ $((p_width * 100)) -ge $((x_width * 95)) ] ||
          Fail "the pages (${p_width}x$p_height) do not fill the client area ${x_width}x$x_height"
      fi
      ;;
    design)
      # Without a window manager nobody takes the maximised state back off the window.
      [ -n "$wm_pid" ] && X_Maximised "$id" && Fail "the window manager holds the window maximised"
      [ "$x_width $x_height" = "$Design_Width $Design_Height" ] ||
        Fail "the client area is ${x_width}x$x_height, not ${Design_Width}x$Design_Height"
      [ "$p_width $p_height" = "$Design_Width $Design_Height" ] ||
        Fail "the content is ${p_width}x$p_height, not ${Design_Width}x$Design_Height"
      ;;
  esac
  # CONTROL drawn at L T W H (the first four numbers) where its design rectangle (the next
  # four) times the scale puts it, within 2 pixels.
  At_Design_Place() {
    local control=$1 shown design scaled=() i
    shown=("${@:2:4}") design=("${@:6:4}")
    for i in 0 1 2 3; do
      scaled[i]=$(((design[i] * multiplier + divisor / 2) / divisor))
    done
    scaled[0]=$((scaled[0] + p_left)) scaled[1]=$((scaled[1] + p_top))
    for i in 0 1 2 3; do
      if [ $((shown[i] - scaled[i])) -gt 2 ] || [ $((scaled[i] - shown[i])) -gt 2 ]; then
        Fail "$control is drawn at ${shown[2]}x${shown[3]} at ${shown[0]},${shown[1]}, its design rectangle" \
             "${design[2]}x${design[3]} at ${design[0]},${design[1]} times $multiplier/$divisor is" \
             "${scaled[2]}x${scaled[3]} at ${scaled[0]},${scaled[1]}"
        return
      fi
    done
  }
  local control
  for control in pages port_status; do
    At_Design_Place "$control" $(Fields "$control" 4 "$report") $(Fields "$control" 9 "$report" | cut -d' ' -f6-)
  done
  local row name drawn drawn_linked text text_linked line shown_text port
  local -a fields
  local -A row_line=()
  while IFS= read -r line; do
    [[ $line == "control "* ]] && read -r _ name _ <<<"$line" && row_line[$name]=$line
  done <<<"$report"
  port=$(Key Port_Name)
  for row in "${Row_Controls[@]}"; do
    read -r name drawn drawn_linked text text_linked <<<"$row"
    [ "$Linked" = 1 ] && drawn=$drawn_linked text=$text_linked
    line=${row_line[$name]:-}
    if [ -z "$line" ]; then
      Fail "the program does not report $name"
      continue
    fi
    read -r -a fields <<<"$line"   # control NAME shown S at L T W H design L T W H text ...
    shown_text=${line#* text }
    [ "$shown_text" = "$line" ] && shown_text=""
    if [ "${fields[3]}" != 1 ]; then
      [ "$drawn" = 1 ] && Fail "$name is not drawn"
      continue
    fi
    [ "$drawn" = 0 ] && Fail "$name is drawn, which it is not while the program is connected"
    At_Design_Place "$name" "${fields[@]:5:4}" "${fields[@]:10:4}"
    case "$text" in
      .) ;;
      +) [ -n "$shown_text" ] || Fail "$name is drawn without a text" ;;
      @port) [ "$shown_text" = "$port" ] || Fail "$name reads \"$shown_text\", not the port $port" ;;
      @link)
        local unlinked
        for unlinked in "" "${Unlinked_Texts[@]}"; do
          [ "$shown_text" = "$unlinked" ] && Fail "$name reads \"$shown_text\" while the program is connected"
        done ;;
      *) [ "$shown_text" = "$text" ] || Fail "$name reads \"$shown_text\", not \"$text\"" ;;
    esac
  done
  [ "$(Fields tabs_fit 1 "$report")" = 1 ] ||
    Fail "the tab row ($(Fields tab_row 4 "$report" | awk '{ print $3 "x" $4 " at " $1 "," $2 }')) shows scroll arrows"
  [ "$failures" = 0 ] &&
    echo "Window check ($expected): client ${x_width}x$x_height, content ${p_width}x$p_height at $p_left,$p_top," \
         "pages, status row and forcing strip at their design places times $multiplier/$divisor," \
         "every control of the row drawn with its text$([ "$Linked" = 1 ] && echo " (connected)"), every tab shown."
  return $((failures > 0))
}

# Window_Check once the window has settled: the window manager and the program's resize
# timer act some time after a key or a click. It is tried quietly for up to 5 s, then once
# more with its findings shown.
Settled_Window_Check() {
  local deadline=$((SECONDS + 5))
  until Window_Check "$1" >/dev/null 2>&1 || [ "$SECONDS" -ge "$deadline" ]; do
    sleep 0.1
  done
  Window_Check "$1"
}

# One maximise -> restore -> maximise round by the program's F key and, with a window
# manager, one by double clicks on the title bar; each state is checked once settled. The
# window starts maximised.
Maximise_Rounds() {
  local id=$1 failures=0 way
  Key_F() { xdotool windowfocus --sync "$id" key f; }
  Title_Bar() {
    local x y w h top
    read -r x y w h < <(X_Place "$id")
    top=$(xprop -id "$id" _NET_FRAME_EXTENTS | awk -F'[=,]' '{ print $4 + 0 }')
    xdotool mousemove $((x + w / 2)) $((y - top / 2)) click --repeat 2 --delay 100 1
  }
  local -A Way_Name=([Key_F]="the F key" [Title_Bar]="double clicks on the title bar")
  for way in Key_F Title_Bar; do
    [ "$way" = Title_Bar ] && [ -z "$wm_pid" ] && continue
    echo "Restored and maximised again by ${Way_Name[$way]}:"
    "$way"
    Settled_Window_Check design || { echo "(restored by ${Way_Name[$way]})" >&2; failures=$((failures + 1)); }
    "$way"
    Settled_Window_Check maximised || { echo "(maximised again by ${Way_Name[$way]})" >&2; failures=$((failures + 1)); }
  done
  return $((failures > 0))
}

# Drags the main window's frame by its bottom right corner, and by the window manager's
# Alt + right button, 150 x 100 pixels outwards; the frame is not to be dragged to another
# size. The program (pid PID) is stopped while a drag holds, so that the X server shows what
# the window manager made of the drag and not the program's answer to it; each drag is
# checked then, before the button is let go.
Drag_Frame() {
  local id=$1 pid=$2 x y w h failures=0
  read -r x y w h < <(X_Place "$id")
  Drag() {   # Drag X Y BUTTON [KEY]
    kill -STOP "$pid"
    xdotool mousemove "$1" "$2" ${4:+keydown $4} mousedown "$3"
    for step in 1 2 3 4 5; do
      sleep 0.1
      xdotool mousemove $(($1 + step * 30)) $(($2 + step * 20))
    done
    sleep 0.3
    local held
    held=$(X_Size "$id")
    xdotool mouseup "$3" ${4:+keyup $4}
    kill -CONT "$pid"
    sleep 0.5
    if [ "$held" != "$Design_Width $Design_Height" ]; then
      echo "Drag check: while the frame was dragged (button $3${4:+ with $4}) the client area was ${held/ /x}," \
           "not ${Design_Width}x$Design_Height" >&2
      failures=$((failures + 1))
    fi
  }
  Drag $((x + w - 3)) $((y + h + 2)) 1
  Drag $((x + w - 100)) $((y + h - 100)) 3 alt
  return $((failures > 0))
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
    Linked=1
    sleep 2   # a few live-data polls more on the screen
  else
    echo "Last requests the emulator received:" >&2
    tail -n 20 "$EMU_LOG" >&2
  fi
else
  sleep "${KARDUN_SCREENSHOT_DELAY:-5}"
fi
if kill -0 "$pid" 2>/dev/null; then
  if Wait_For_Window && Settled_Window_Check maximised; then
    Maximise_Rounds "$(Report_Field window)" || status=1
  else
    status=1
  fi
fi
import -window root "$SCREENSHOT" || echo "No screenshot could be taken." >&2
Close_Program "$pid" || status=1

# ---------------------------------------------------------------- the restart check
# A normal main window and big-digit window 3 at places of their own; four starts, each
# checked: the first with the main window alone (nothing else resizes it, so its report
# must come from its first show), also dragged at its frame; then three with the
# big-digit window open. After each the saved places and sizes must be the ones set.
Restart_Check() {
  local failures=0 run key
  local -A Set=([POSITION_TOP]=100 [POSITION_LEFT]=150 [FORM_ICO_TOP_3]=300
                [FORM_ICO_LEFT_3]=600 [FORM_ICO_WIDTH_3]=200 [FORM_ICO_HEIGHT_3]=140)
  Set_Key FULL_SCREEN False
  for run in 1 2 3 4; do
    Set[FORM_ICO_FLAG_3]=$([ "$run" = 1 ] && echo False || echo True)
    for key in "${!Set[@]}"; do Set_Key "$key" "${Set[$key]}"; done
    rm -f "$GEOMETRY"
    KARDUN_GEOMETRY_FILE=$GEOMETRY "$PROGRAM" "$@" &
    local run_pid=$!
    if Wait_For_Window; then
      if [ "$run" = 1 ]; then
        Settled_Window_Check design || failures=$((failures + 1))
        if [ -n "$wm_pid" ]; then
          Drag_Frame "$(Report_Field window)" "$run_pid" || failures=$((failures + 1))
          Settled_Window_Check design || { echo "(after drags at the frame)" >&2; failures=$((failures + 1)); }
        fi
      else
        sleep 2   # the big-digit window lays itself out
        Window_Check design || failures=$((failures + 1))
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
  [ "$failures" = 0 ] && echo "Restart check: four starts, the saved places and sizes did not move."
  return $((failures > 0))
}

if [ "$status" = 0 ] && [ "${KARDUN_RESTART_CHECK:-1}" != 0 ]; then
  cp KardunGD.ini "$GEOMETRY.ini"
  # The restarts are checked before they connect, or while they do.
  Linked=0
  Restart_Check "$@" || status=1
  cp "$GEOMETRY.ini" KardunGD.ini
  rm -f "$GEOMETRY.ini"
fi
exit "$status"
