# The window manager the window checks run under, on the X server that DISPLAY names.
# Sourced by the check scripts (and by scripts/headless_run.sh):
#   . wm.sh
#   Start_Window_Manager || exit 1   # sets wm_pid (empty when there is none)
#   ...
#   Stop_Window_Manager
# KARDUN_TEST_WM names it: openbox (the default), xfwm4, metacity, or none (a bare X server).
# It is ready once it announces the frame extents (_NET_FRAME_EXTENTS in the root window's
# _NET_SUPPORTED): a program started before that would not learn its windows' frames.
# xfwm4 reads its settings through a session bus: it gets one of its own, ended with it.

# How long a window manager may take to come up on a busy machine (tenths of a second).
Window_Manager_Ready_Tenths=300

wm_pid=""
wm_bus_pid=""

Start_Window_Manager() {
  local name=${KARDUN_TEST_WM:-openbox} attempt log
  [ "$name" = none ] && return 0
  log=$(mktemp)
  # A window manager that ends before it is ready (on a busy machine) is started again.
  for attempt in 1 2 3; do
    Launch_Window_Manager "$name" "$log" || break
    local _
    for _ in $(seq "$Window_Manager_Ready_Tenths"); do
      if xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_FRAME_EXTENTS; then
        rm -f "$log"
        return 0
      fi
      kill -0 "$wm_pid" 2>/dev/null || break
      sleep 0.1
    done
    Stop_Window_Manager
  done
  echo "The window manager ($name) did not start:" >&2
  tail -n 5 "$log" >&2
  rm -f "$log"
  return 1
}

# Starts window manager NAME in the background, its output to LOG; sets wm_pid.
Launch_Window_Manager() {
  local name=$1 log=$2 bus
  case "$name" in
    openbox) openbox --sm-disable >>"$log" 2>&1 & ;;
    metacity) metacity --sm-disable --compositor=none >>"$log" 2>&1 & ;;
    xfwm4)
      # Its address on the first line, its process id on the second.
      bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || {
        echo "No session bus for xfwm4 could be started." >>"$log"
        return 1
      }
      wm_bus_pid=$(sed -n 2p <<<"$bus")
      DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus") xfwm4 --compositor=off --sm-client-disable >>"$log" 2>&1 &
      ;;
    *)
      echo "KARDUN_TEST_WM names no window manager known here: $name (openbox, xfwm4, metacity, none)." >>"$log"
      return 1 ;;
  esac
  wm_pid=$!
}

Stop_Window_Manager() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null && wait "$wm_pid" 2>/dev/null
  wm_pid=""
  if [ -n "$wm_bus_pid" ]; then
    # The services the bus started for the window manager go with it.
    local child
    for child in $(pgrep -P "$wm_bus_pid"); do kill "$child" 2>/dev/null; done
    kill "$wm_bus_pid" 2>/dev/null
    wm_bus_pid=""
  fi
  return 0
}
