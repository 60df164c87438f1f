#!/usr/bin/env bash
# Configures and builds into build/ (warnings on, and treated as errors as in CI, unless
# KARDUN_WERROR=OFF; a plain cmake configure leaves them warnings):
#   build.sh [TARGET...]
# builds the targets named, or every target (the tests included) when none is.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DKARDUN_WERROR="${KARDUN_WERROR:-ON}" >/dev/null
cmake --build build -j "$(nproc)" ${1:+--target "$@"}
