#!/usr/bin/env bash
# Long soak of random technician actions against the controller emulator:
#   soak.sh [MINUTES] [FIRST_SEED]
# runs the soak test (test_e2e, Soak_E2E) seed after seed, from FIRST_SEED (default: from the
# clock) until MINUTES (default 20) have passed, each run at most KARDUN_SOAK_RUN_SECONDS
# (default 120) and KARDUN_SOAK_ACTIONS actions (default 400). It prints every run's seed and
# action count and every violation (seed, action index, what was violated, the action trail),
# then a summary line of counts. KARDUN_SOAK_PERIODS ("7,11,13,17") sets the fault periods.
# Exit status 1 when any violation was seen. Builds test_e2e first (warnings as errors).
# A violation is replayed with its trail: KARDUN_SOAK_SEED=S KARDUN_SOAK_TRAIL=a,b,c and the
# test filter below.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-20}
seed=${2:-$(( $(date +%s) % 100000 ))}
run_seconds=${KARDUN_SOAK_RUN_SECONDS:-120}
actions=${KARDUN_SOAK_ACTIONS:-400}
bash scripts/build.sh test_e2e >/dev/null
end=$(( $(date +%s) + minutes * 60 ))
runs=0 total_actions=0 violations=0 failed_runs=0
log=$(mktemp)
# The runs use a copy of the test program, so a build during a long run leaves it alone.
program=$(mktemp)
cp build/tests/test_e2e "$program"
chmod +x "$program"
trap 'rm -f "$log" "$program"' EXIT
while [ "$(date +%s)" -lt "$end" ]; do
  left=$(( end - $(date +%s) ))
  secs=$(( left < run_seconds ? left : run_seconds ))
  [ "$secs" -lt 20 ] && break
  ( cd build && QT_QPA_PLATFORM=offscreen KARDUN_SOAK_SEED="$seed" KARDUN_SOAK_SECONDS="$secs" \
      KARDUN_SOAK_ACTIONS="$actions" timeout $(( secs + 240 )) "$program" \
      --gtest_also_run_disabled_tests --gtest_filter='Soak_E2E.*' ) >"$log" 2>&1 || true
  runs=$(( runs + 1 ))
  run_line=$(grep '^SOAK-RUN' "$log" | tail -1 || true)
  if [ -z "$run_line" ]; then
    echo "seed $seed: the run did not finish (crash or time-out); its last lines:"
    tail -5 "$log" | sed 's/^/    /'
    failed_runs=$(( failed_runs + 1 ))
    [ "$failed_runs" -ge 3 ] && [ "$runs" -eq "$failed_runs" ] && { echo "no run finishes: stopped"; break; }
  else
    done_actions=$(sed -n 's/.* actions=\([0-9]*\).*/\1/p' <<<"$run_line")
    total_actions=$(( total_actions + done_actions ))
    echo "seed $seed: $run_line"
  fi
  n=$(grep -c '^SOAK-VIOLATION' "$log" || true)
  violations=$(( violations + n ))
  grep '^SOAK-VIOLATION' "$log" | sed 's/^/    /' || true
  seed=$(( seed + 1 ))
done
echo "SOAK-SUMMARY runs=$runs actions=$total_actions violations=$violations unfinished_runs=$failed_runs"
[ "$violations" -eq 0 ] && [ "$failed_runs" -eq 0 ]
