#!/usr/bin/env bash
# Configures (once) and builds everything into build/; the program's folder is build/bin, where the
# build also makes the database file when it does not exist yet.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j "$(nproc)"
