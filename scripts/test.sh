#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole test suite with no
# display needed.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh --werror
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
