#!/usr/bin/env bash
# Installs what is missing, checks the include direction, builds (warnings as errors) and
# runs every test (window tests run offscreen); then builds and runs every test again under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/). KARDUN_SANITIZE=OFF skips
# the second run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/check_includes.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j "$(nproc)" --timeout 300)
if [ "${KARDUN_SANITIZE:-ON}" != "OFF" ]; then
  bash scripts/sanitize.sh
fi
