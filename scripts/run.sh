#!/usr/bin/env bash
# Installs what is missing, builds, makes the database if absent, and starts the program from its
# own folder build/bin (layouts and chart pictures resolve against it).
#   --reset-database   move the current database aside (with a timestamp) and start with a fresh one
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
./scripts/build.sh

if [ "${1:-}" = "--reset-database" ] && [ -f build/bin/yfdb.dbz ]; then
  kept="build/bin/yfdb.dbz.$(date +%Y%m%d-%H%M%S)"
  mv build/bin/yfdb.dbz "$kept"
  echo "旧数据库已移到 $kept"
  cmake --build build --target database
fi

cd build/bin
exec ./nutricounsel
