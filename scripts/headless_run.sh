#!/usr/bin/env bash
# The headless part of the start command, run on an X server of its own:
#   headless_run.sh PROGRAM SCREENSHOT EMULATOR_LOG [program arguments...]
# Starts PROGRAM in the current folder. With the emulator's request log (an empty argument
# when there is none) it waits until the program is connected (see Link_Connected) and
# fails when it is not within KARDUN_CONNECT_TIMEOUT seconds (default 60); without one it
# waits KARDUN_SCREENSHOT_DELAY seconds (default 5). Then it saves a screenshot of the
# screen to SCREENSHOT and closes the program, failing when the program has ended on its
# own or does not close cleanly.
set -uo pipefail
PROGRAM=$1
SCREENSHOT=$2
EMU_LOG=$3
shift 3

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

"$PROGRAM" "$@" &
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
import -window root "$SCREENSHOT" || echo "No screenshot could be taken." >&2
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
    status=1
  fi
else
  wait "$pid"
  echo "The program ended on its own (exit status $?)." >&2
  status=1
fi
exit "$status"
