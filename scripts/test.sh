#!/usr/bin/env bash
# Installs what is missing, checks the include direction, builds every target (warnings as
# errors) and runs every test (window tests run offscreen). Then it checks that the shipped
# temperature table and dial faces are what their generators make, runs the poll benchmark
# for a few cycles on the General and on the Calibration page and prints their figures side
# by side (it measures; no time is asserted), and runs the start command headless
# against the emulator, which fails when the program does not connect. Last, everything is
# built and tested again under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/); KARDUN_SANITIZE=OFF skips that run.
set -euo pipefail
cd "$(dirname "$0")/.."
step() { echo; echo "== $1 ($(date -u +%H:%M:%S))"; }
step "Packages"
bash scripts/deps.sh
step "Include direction"
bash scripts/check_includes.sh
step "Build"
bash scripts/build.sh
step "Tests"
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" --timeout 300)
step "Generated data files"
bash scripts/check_generated.sh
step "Poll benchmark"
bench_dir=$(mktemp -d)
bench_pages=(general calibration)
for page in "${bench_pages[@]}"; do
  timeout 600 build/bench_Poll_Cycle "${KARDUN_BENCH_CYCLES:-20}" --page "$page" >"$bench_dir/$page.txt"
  grep -v '^figure' "$bench_dir/$page.txt"
  echo
done
# One row per figure, one column per page.
awk -F'\t' '$1 == "figure" { if (!($2 in row)) order[++n] = $2; row[$2] = row[$2] sprintf("%16s", $3) }
             FNR == 1 { ++page }
             $1 == "figure" && $2 ~ /^(CPU per poll|gap - Reply_Delay median)/ { value[$2, page] = $3 }
             END { for (i = 1; i <= n; ++i) printf "%-34s%s\n", order[i], row[order[i]]
                   # The Calibration page against the General page: its wait beyond Reply_Delay
                   # no longer, its CPU within 1.5 x.
                   if (value["CPU per poll (ms)", 1] > 0)
                     printf "%-34s%16s%16.2f\n%-34s%16s%16.2f\n",
                            "CPU per poll / General", "", value["CPU per poll (ms)", 2] / value["CPU per poll (ms)", 1],
                            "gap - Reply_Delay median / General", "",
                            value["gap - Reply_Delay median (ms)", 2] / value["gap - Reply_Delay median (ms)", 1] }' \
  $(for page in "${bench_pages[@]}"; do echo "$bench_dir/$page.txt"; done)
rm -rf "$bench_dir"
step "Start command, headless"
env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/start.sh
if [ "${KARDUN_SANITIZE:-ON}" != "OFF" ]; then
  step "Sanitizer build and tests"
  bash scripts/sanitize.sh
fi
step "Done"
