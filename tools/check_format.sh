#!/bin/sh
# Checks that every C++ file of src/, tests/, bench/ and tools/ is formatted
# as .clang-format says (clang-format 14, Debian 12's). Lists the files that
# are not and exits with 1; `clang-format -i FILE` mends one.
#
#   tools/check_format.sh [SOURCE_ROOT]
set -eu
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 2; }
bad=$(find src tests bench tools \( -name '*.cpp' -o -name '*.h' \) -print | LC_ALL=C sort |
  while read -r f; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || echo "$f"
  done)
if [ -n "$bad" ]; then
  echo "Not formatted with .clang-format (run clang-format -i on them):"
  echo "$bad"
  exit 1
fi
