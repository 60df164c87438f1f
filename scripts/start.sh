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
if [ -n "${DISPLAY:-}" ]; then
  exec "$ROOT/build/KardunGD" "$@"
fi
echo "No display: running under Xvfb; the screenshot goes to run/screenshot.png"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0/build/KardunGD" & pid=$!
  sleep "${KARDUN_SCREENSHOT_DELAY:-5}"
  import -window root "$0/run/screenshot.png" || true
  kill $pid 2>/dev/null; wait $pid 2>/dev/null; true' "$ROOT"
echo "Saved run/screenshot.png"
