#!/usr/bin/env bash
# Installs what is missing, builds, and starts KardunGD in its working folder run/.
# With no display the program runs under Xvfb with a window manager (openbox), as on a
# technician's desktop, and a screenshot of the screen is saved as run/screenshot.png; the
# program is then closed. Against the emulator that run waits for the connected state first
# and fails when the program does not reach it; it also fails when the main window, its
# pages and its tab row are not drawn as designed, maximised and restored (by the F key and
# by the title bar) or while its frame is dragged, or when saved window places move over
# restarts (see scripts/headless_run.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
bash scripts/deps.sh
# Only what it runs: the program, its language catalogues and the controller emulator (the
# test command builds the rest).
bash scripts/build.sh KardunGD catalogues kardun_emulator
mkdir -p run
cp -rn resources/. run/ 2>/dev/null || true
mkdir -p run/locale && cp -r build/locale/. run/locale/ 2>/dev/null || true
cd run
HEADLESS=0
[ -n "${DISPLAY:-}" ] || HEADLESS=1
# The port: a device named to the command (a real controller, e.g. /dev/ttyUSB0), else the
# controller emulator on a pseudo-terminal reached through run/ttyEMU. Headless, the
# emulator lists every request it receives in run/emulator.log: that shows whether the
# program connected.
EMU_LOG=""
if [ -n "${1:-}" ]; then
  PORT="$1"; shift
else
  PORT="$ROOT/run/ttyEMU"
  # Further emulator options, e.g. KARDUN_EMULATOR_OPTIONS="--loader-type C".
  read -r -a EMU_ARGS <<<"${KARDUN_EMULATOR_OPTIONS:-}"
  EMU_ARGS+=(--link "$PORT" --firmware-set "$ROOT/run/HEX")
  if [ "$HEADLESS" = 1 ]; then
    EMU_ARGS+=(--verbose)
    EMU_LOG="$ROOT/run/emulator.log"
  fi
  rm -f "$PORT"
  "$ROOT/build/tests/kardun_emulator" "${EMU_ARGS[@]}" >emulator.log 2>&1 &
  EMU=$!
  trap 'kill $EMU 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -e "$PORT" ] && break; sleep 0.1; done
  [ -e "$PORT" ] || { echo "The controller emulator did not start:" >&2; cat emulator.log >&2; exit 1; }
fi
# The program opens the port its settings file names.
touch KardunGD.ini
sed -i '/^[Pp][Oo][Rr][Tt]_[Nn][Aa][Mm][Ee][[:space:]]/d' KardunGD.ini
printf '%-29s%s {}\r\n' Port_Name "$PORT" >> KardunGD.ini
if [ "$HEADLESS" = 0 ]; then
  "$ROOT/build/KardunGD" "$@"
  exit $?
fi
echo "No display: running under Xvfb with ${KARDUN_WINDOW_MANAGER:-openbox}; the screenshot goes to run/screenshot.png"
xvfb-run -a -s "-screen 0 ${KARDUN_SCREEN:-1366x768}x24" bash "$ROOT/scripts/headless_run.sh" \
  "$ROOT/build/KardunGD" "$ROOT/run/screenshot.png" "$EMU_LOG" "$@"
echo "Saved run/screenshot.png"
