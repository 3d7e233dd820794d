#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy: function size, cognitive complexity, the
# bug-prone checks) over the given sources, or over every production source,
# with the compile commands of build/ (KVN_TIDY_BUILD names another build
# folder). Prints each finding and a count per check. Fails on a bug-prone
# finding, on any error clang-tidy reports (a file that does not parse, a
# header not found) and on clang-tidy's own failure; functions over the size
# or complexity thresholds are listed for the record.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${KVN_TIDY_BUILD:-build}"
[ -f "$build/compile_commands.json" ] || bash scripts/build.sh
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(find psychro engine common files exchange reports forms tools -name '*.cpp' | sort)
fi
raw=$(mktemp)
log=$(mktemp)
out=$(mktemp)
trap 'rm -f "$raw" "$log" "$out"' EXIT
status=0
printf '%s\n' "${files[@]}" | xargs -P"$(nproc)" -n4 clang-tidy -p "$build" --quiet >"$raw" 2>"$log" || status=$?
grep -E '^[^ ].*: (warning|error): ' "$raw" | sort -u >"$out" || true
cat "$out"
echo "== clang-tidy: findings per check =="
sed -E 's/.*\[([a-z-]+(,[a-z-]+)*)\]$/\1/' "$out" | sort | uniq -c | sort -rn || true
bugprone=$(grep -c '\[bugprone-' "$out" || true)
errors=$(grep -c ': error: ' "$out" || true)
fail=0
if [ "$errors" -gt 0 ] || [ "$status" -ne 0 ]; then
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$log" || true
  echo "clang-tidy: $errors error(s), exit status $status"
  fail=1
fi
if [ "$bugprone" -gt 0 ]; then
  echo "clang-tidy: $bugprone bug-prone finding(s)"
  fail=1
fi
[ "$fail" -eq 0 ] || exit 1
echo "clang-tidy: no error, no bug-prone finding"
