#!/usr/bin/env bash
# Configures and builds everything into build/ (warnings on, and treated as errors unless
# KARDUN_WERROR=OFF).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKARDUN_WERROR="${KARDUN_WERROR:-ON}" >/dev/null
cmake --build build -j "$(nproc)"
