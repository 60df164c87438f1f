#!/usr/bin/env bash
# Installs what is missing, builds, and starts KardunGD in its working folder run/.
# With no display the program runs under Xvfb and a screenshot of the screen is saved
# as run/screenshot.png after a few seconds; the program is then closed.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
bash scripts/deps.sh
bash scripts/build.sh
mkdir -p run
cp -rn resources/. run/ 2>/dev/null || true
mkdir -p run/locale && cp -r build/locale/. run/locale/ 2>/dev/null || true
cd run
# The port: a device named to the command (a real controller, e.g. /dev/ttyUSB0), else the
# controller emulator on a pseudo-terminal reached through run/ttyEMU.
if [ -n "${1:-}" ]; then
  PORT="$1"; shift
else
  PORT="$ROOT/run/ttyEMU"
  "$ROOT/build/tests/kardun_emulator" --link "$PORT" --firmware-set "$ROOT/run/HEX" >emulator.log 2>&1 &
  EMU=$!
  trap 'kill $EMU 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -e "$PORT" ] && break; sleep 0.1; done
fi
# The program opens the port its settings file names.
touch KardunGD.ini
sed -i '/^[Pp][Oo][Rr][Tt]_[Nn][Aa][Mm][Ee][[:space:]]/d' KardunGD.ini
printf '%-29s%s {}\r\n' Port_Name "$PORT" >> KardunGD.ini
if [ -n "${DISPLAY:-}" ]; then
  "$ROOT/build/KardunGD" "$@"
  exit $?
fi
echo "No display: running under Xvfb; the screenshot goes to run/screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0/build/KardunGD" & pid=$!
  sleep "${KARDUN_SCREENSHOT_DELAY:-5}"
  import -window root "$0/run/screenshot.png" || true
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; true' "$ROOT"
echo "Saved run/screenshot.png"
