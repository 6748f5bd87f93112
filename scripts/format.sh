#!/usr/bin/env bash
# Formats every C++ source of the tree with the tree's .clang-format, or with --check only lists the
# files that differ from it and fails when there are any. Uses Debian 12's clang-format (14): another
# version may lay out some lines differently.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  differ=()
  for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
  done
  if [ ${#differ[@]} -ne 0 ]; then
    echo "These files differ from .clang-format (run scripts/format.sh, or build the format target):"
    printf '  %s\n' "${differ[@]}"
    exit 1
  fi
  echo "All ${#files[@]} C++ files follow .clang-format."
else
  clang-format -i "${files[@]}"
fi
