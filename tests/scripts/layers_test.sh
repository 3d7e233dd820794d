#!/usr/bin/env bash
# Each kind of forbidden include, planted in a scratch copy of the sources,
# fails scripts/check_layers.sh; and the build's per-layer include roots
# refuse to compile it while the public headers still compile.
# Usage: layers_test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$1
build=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$scratch/unit"
cp -r "$src/scripts" "$src/cmake" "$scratch/"
for folder in psychro engine common files reports forms tools; do cp -r "$src/$folder" "$scratch/"; done
bash "$scratch/scripts/check_layers.sh" >/dev/null || fail "the check refuses the sources as they are"

# folder/file, the planted line: the layer check must refuse each.
plants=(
  'common/planted.cpp|#include <engine/internal/coilcalc_internal.h>'
  'common/planted.cpp|#include "engine/internal/constants.h"'
  'files/planted.h|#include "engine/unlisted_header.h"'
  'engine/planted.cpp|#  include "forms/Form1.h"'
  'engine/planted.cpp|#include <common/units.h>'
  'files/planted.cpp|#include "../reports/output.h"'
  'psychro/planted.c|# include "engine/coilcalc.h"'
  'reports/planted.cpp|#include "forms/Form1.h"'
)
for plant in "${plants[@]}"; do
  file=${plant%%|*}
  line=${plant#*|}
  printf '%s\n' "$line" >"$scratch/$file"
  if bash "$scratch/scripts/check_layers.sh" >"$scratch/out.log" 2>&1; then
    fail "the layer check passed '$line' in $file"
  elif ! grep -q "^$file:1: " "$scratch/out.log"; then
    fail "the layer check failed without naming $file:1 for '$line'"
  fi
  rm -f "$scratch/$file"
done

# The compiler, with a layer's include root as the build gives it: what the
# layer may include compiles, what it may not is not found.
compile() {  # layer, line (the unit alone in its folder: no source beside it)
  printf '%s\nint main() { return 0; }\n' "$2" >"$scratch/unit/unit.cpp"
  c++ -std=c++20 -fsyntax-only -I "$build/layers/$1" -I "$build/generated" "$scratch/unit/unit.cpp" >"$scratch/cc.log" 2>&1
}
allowed() { compile "$1" "$2" || fail "$1 cannot compile '$2'"; }
refused() {
  if compile "$1" "$2"; then
    fail "$1 compiled '$2'"
  elif ! grep -q 'No such file or directory' "$scratch/cc.log"; then
    fail "$1 refused '$2' for another reason: $(head -n 3 "$scratch/cc.log")"
  fi
}
allowed common '#include "engine/coilcalc.h"'
allowed forms '#include "common/units.h"'
allowed engine '#include "engine/internal/constants.h"'
refused common '#include "engine/internal/coilcalc_internal.h"'
refused common '#include <engine/internal/constants.h>'
refused common '#include "forms/form1_model.h"'
refused engine '#  include "common/units.h"'
refused files '#include "psychro/hygrel32.h"'
refused reports '#include "forms/form1_model.h"'
# kvn-rate's library headers need neither Qt nor the windows.
allowed tools '#include "tools/report_output.h"'
allowed tools '#include "tools/select_json.h"'
refused tools '#include "forms/form1_model.h"'

[ "$failures" -eq 0 ] || exit 1
echo "layers: every planted violation refused"
