#!/usr/bin/env bash
# Fails when a C++ file differs from the tree's one style (.clang-format).
# Prints the files to run clang-format -i on.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
command -v clang-format >/dev/null || { echo "[format] clang-format is not installed (scripts/deps.sh installs it)"; exit 1; }
mapfile -t bad < <(git ls-files '*.cpp' '*.h' | grep -v '^tests/fixtures/' |
  xargs -P "$(nproc)" -n 40 clang-format --dry-run -Werror 2>&1 |
  sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: code should be clang-formatted.*/\1/p' | sort -u)
if [ ${#bad[@]} -gt 0 ]; then
  printf '%s\n' "${bad[@]}"
  echo "[format] ${#bad[@]} file(s) differ from .clang-format: clang-format -i them"
  exit 1
fi
echo "[format] every C++ file follows .clang-format"
