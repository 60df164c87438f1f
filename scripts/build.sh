#!/usr/bin/env bash
# Configures and builds everything into build/ (warnings on, and treated as errors as in CI,
# unless KARDUN_WERROR=OFF; a plain cmake configure leaves them warnings).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKARDUN_WERROR="${KARDUN_WERROR:-ON}" >/dev/null
cmake --build build -j "$(nproc)"
