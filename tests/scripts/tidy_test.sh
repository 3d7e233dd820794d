#!/usr/bin/env bash
# scripts/tidy.sh passes a clean file and fails on one that does not parse,
# whatever clang-tidy's checks make of the rest.
# Usage: tidy_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export KVN_TIDY_BUILD=$build

printf 'int Twice(int x) { return 2 * x; }\n' >"$scratch/clean.cpp"
if ! bash "$src/scripts/tidy.sh" "$scratch/clean.cpp" >"$scratch/clean.log" 2>&1; then
  cat "$scratch/clean.log"
  echo "FAIL: tidy refused a clean file"
  exit 1
fi

printf 'int Broken(int x) { return x +; }\nstruct {\n' >"$scratch/broken.cpp"
if bash "$src/scripts/tidy.sh" "$scratch/broken.cpp" >"$scratch/broken.log" 2>&1; then
  cat "$scratch/broken.log"
  echo "FAIL: tidy passed a file that does not parse"
  exit 1
fi
if ! grep -q 'broken.cpp:1:.*error:' "$scratch/broken.log"; then
  cat "$scratch/broken.log"
  echo "FAIL: tidy failed without naming the error"
  exit 1
fi
echo "tidy: a clean file passes, a broken one fails"
