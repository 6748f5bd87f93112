#!/usr/bin/env bash
# Builds everything once more in Debug with AddressSanitizer and UndefinedBehaviorSanitizer
# (CMake option NC_SANITIZE) into build-asan/, and runs the whole test suite there. Any report of
# either sanitizer fails the test that caused it. Extra arguments go to ctest (e.g. -R tst_dataset).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

# ccache (installed by setup.sh) keeps a second run short.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
if [ ! -f build-asan/build.ninja ]; then
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DNC_SANITIZE=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi

# Leak checking stays on: what Qt keeps until the process ends (fonts, the platform plugin, its
# caches) is still reachable then and is not reported, so a report is a leak of ours.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export QT_QPA_PLATFORM=offscreen

# The tools run while building (database, recipe sheets, icons) are instrumented too.
cmake --build build-asan -j "$(nproc)"

# Every test, install_tree included: the installed program is the instrumented one.
cd build-asan
ctest --output-on-failure -j "$(nproc)" "$@"
