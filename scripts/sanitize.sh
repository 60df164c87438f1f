#!/usr/bin/env bash
# Builds the program and its tests under AddressSanitizer and UndefinedBehaviorSanitizer
# (a Debug build in build-asan/, warnings as errors) and runs every test there.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$(pwd)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKARDUN_SANITIZE=ON \
      -DKARDUN_WERROR=ON >/dev/null
cmake --build build-asan -j "${KARDUN_JOBS:-$(nproc)}"
export QT_QPA_PLATFORM=offscreen
# Leaks are reported except those of the system's own libraries (fonts, the display
# server connection), which keep their caches until the process ends.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd build-asan
ctest --output-on-failure -j "${KARDUN_JOBS:-$(nproc)}" --timeout 600
