#!/usr/bin/env bash
# Builds the gallery and saves a picture of every window, made offscreen on a fixture database, to
# build/screens/, with the printed reports (the complete report of each category among them, wzbg*.pdf)
# and a sample report as PDF and PNG pages.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --target gallery report_sample -j "$(nproc)"
mkdir -p build/screens
QT_QPA_PLATFORM=offscreen build/tools/bin/gallery build/screens
QT_QPA_PLATFORM=offscreen build/tools/bin/report_sample build/screens
echo "Pictures in build/screens/:"
ls build/screens
