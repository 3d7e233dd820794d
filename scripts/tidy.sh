#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: function size, cognitive complexity, the
# bug-prone checks) over the given sources, or over every production source,
# with the compile commands of build/. Prints each finding and a count per
# check. Fails on a bug-prone finding; functions over the size or complexity
# thresholds are listed for the record.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/compile_commands.json ] || bash scripts/build.sh
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(find psychro engine common files reports forms tools -name '*.cpp' | sort)
fi
out=$(mktemp)
printf '%s\n' "${files[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p build --quiet 2>/dev/null \
  | grep -E '^[^ ].*: warning: ' | sort -u >"$out" || true
cat "$out"
echo "== clang-tidy: findings per check =="
sed -E 's/.*\[([a-z-]+(,[a-z-]+)*)\]$/\1/' "$out" | sort | uniq -c | sort -rn || true
bugprone=$(grep -c '\[bugprone-' "$out" || true)
rm -f "$out"
if [ "$bugprone" -gt 0 ]; then
  echo "clang-tidy: $bugprone bug-prone finding(s)"
  exit 1
fi
echo "clang-tidy: no bug-prone finding"
