#!/usr/bin/env bash
# Fails when a C or C++ source of the tree is not in the brace style of
# .clang-format; lists the files. `clang-format -i FILE` puts one right.
set -euo pipefail
cd "$(dirname "$0")/.."
bad=()
while IFS= read -r f; do
  clang-format --style=file "$f" | cmp -s - "$f" || bad+=("$f")
done < <(git ls-files '*.cpp' '*.h' '*.c')
if [ ${#bad[@]} -gt 0 ]; then
  printf 'not formatted: %s\n' "${bad[@]}"
  exit 1
fi
echo "Format check: every source is formatted."
