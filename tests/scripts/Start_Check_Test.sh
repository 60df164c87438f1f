#!/usr/bin/env bash
# The headless start's check, against the emulator: it passes (and leaves a screenshot)
# when the program connects, having gone through every window check (the maximise rounds by
# the F key and by the title bar, the restarts), and fails when the controller does not
# accept the identification, so that the program only polls live data and never connects,
# or when the link panel of the status row is not drawn.
#   Start_Check_Test.sh PROGRAM EMULATOR HEADLESS_RUN
set -uo pipefail
PROGRAM=$1
EMULATOR=$2
HEADLESS_RUN=$3
work=$(mktemp -d)
emulator_pid=""
trap '[ -n "$emulator_pid" ] && kill "$emulator_pid" 2>/dev/null; rm -rf "$work"' EXIT
failures=0 cases=0

# One row: the identification status the emulator reports, whether the check must pass,
# how long it waits for the connection (seconds), and the texts its output must hold.
run_case() {
  local status=$1 must_pass=$2 timeout=$3 expected
  shift 3
  local dir="$work/case$((++cases))"
  mkdir -p "$dir"
  cd "$dir" || return
  "$EMULATOR" --link "$dir/ttyEMU" --status "$status" --verbose >emulator.log 2>&1 &
  emulator_pid=$!
  for _ in $(seq 50); do [ -e "$dir/ttyEMU" ] && break; sleep 0.1; done
  printf '%-29s%s {}\r\n' Port_Name "$dir/ttyEMU" >KardunGD.ini
  local output code
  output=$(KARDUN_CONNECT_TIMEOUT=$timeout xvfb-run -a -s "-screen 0 1024x768x24" \
             bash "$HEADLESS_RUN" "$PROGRAM" "$dir/screenshot.png" "$dir/emulator.log" 2>&1)
  code=$?
  kill "$emulator_pid" 2>/dev/null
  wait "$emulator_pid" 2>/dev/null
  emulator_pid=""
  local ok=1
  if [ "$must_pass" = yes ]; then
    [ "$code" -eq 0 ] && [ -s "$dir/screenshot.png" ] || ok=0
  else
    [ "$code" -ne 0 ] || ok=0
  fi
  for expected in "$@"; do
    grep -qF "$expected" <<<"$output" || { ok=0; echo "Missing: $expected" >&2; }
  done
  if [ "$ok" = 0 ]; then
    echo "FAILED: identification status $status: exit status $code, expected to pass: $must_pass" >&2
    echo "$output" >&2
    failures=$((failures + 1))
  else
    echo "ok: identification status $status: exit status $code"
  fi
}

run_case 1 yes 60 "Connected: the program read the configuration and polls live data." \
  "every control of the row drawn with its text (connected)" \
  "Restored and maximised again by the F key:" \
  "Restored and maximised again by double clicks on the title bar:" \
  "Restart check: four starts, the saved places and sizes did not move."
run_case 2 no 10 "The program did not connect to the emulator within 10 s."

# The program as a build that hides the link panel draws it: its report, which it writes to a
# file of its own, is passed on with that panel not drawn.
cat >"$work/hidden_link_panel" <<'EOF'
#!/usr/bin/env bash
report=$KARDUN_GEOMETRY_FILE
KARDUN_GEOMETRY_FILE=$report.program "$REAL_PROGRAM" "$@" &
program=$!
trap 'kill "$program" 2>/dev/null' TERM
while kill -0 "$program" 2>/dev/null; do
  [ -s "$report.program" ] &&
    sed 's/^control Panel_ConnectStatus shown 1 /control Panel_ConnectStatus shown 0 /' \
      "$report.program" >"$report.new" && mv "$report.new" "$report"
  sleep 0.1
done
wait "$program"
EOF
chmod +x "$work/hidden_link_panel"
export REAL_PROGRAM=$PROGRAM
PROGRAM=$work/hidden_link_panel run_case 1 no 60 \
  "Window check (maximised): Panel_ConnectStatus is not drawn"
exit $(( failures > 0 ))
