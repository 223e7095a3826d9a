#!/usr/bin/env bash
# Checks that every C++ file is formatted with the project's .clang-format
# (scripts/format.sh --fix formats them in place).
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=scripts/packages.sh
source scripts/packages.sh
ensure_packages clang-format git
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run -Werror "${files[@]}"
  echo "format.sh: ${#files[@]} files formatted as .clang-format asks"
fi
