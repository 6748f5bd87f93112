#!/usr/bin/env bash
# Configures and builds everything into build/; the program's folder is build/bin, where the build
# also makes the database file when it does not exist yet.
#   --werror   treat compiler warnings as errors (the tests and CI); without it they are only shown,
#              so a newer compiler's new warning never keeps the program from being built
# run.sh and test.sh share build/: the setting is made afresh whenever it differs from the last one.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
if [ "${1:-}" = "--werror" ]; then
  werror=ON
fi
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNC_WERROR="$werror"
elif ! grep -qx "NC_WERROR:BOOL=$werror" build/CMakeCache.txt; then
  cmake -S . -B build -DNC_WERROR="$werror"
fi
cmake --build build -j "$(nproc)"
