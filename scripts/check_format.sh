#!/usr/bin/env bash
# Every C++ file of the tree is formatted as .clang-format says; lists the ones that are not.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  files=$(git ls-files -- '*.cpp' '*.h' ':!:third_party/*' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
else
  files=$(find src tools tests bench -name '*.cpp' -o -name '*.h' | sort)
fi
[ -z "$files" ] && exit 0
# shellcheck disable=SC2086
if clang-format --dry-run -Werror $files; then
  echo "check_format: $(echo "$files" | wc -l) files formatted"
else
  echo "check_format: run clang-format -i on the files above" >&2
  exit 1
fi
