#!/usr/bin/env bash
# Fails when a source file includes a header across a forbidden layer arrow.
# The layers and their arrows are described in docs/ARCHITECTURE.md; this is
# the table the build enforces. Tests and benchmarks may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder -> the folders whose headers it may include (itself included).
declare -A ALLOWED=(
  [psychro]="psychro"
  [engine]="engine psychro"
  [common]="common engine psychro"
  [files]="files common engine"
  [reports]="reports files common engine psychro"
  [forms]="forms reports files common engine psychro"
  [tools]="tools reports files common engine psychro"
)
# Headers of the engine's inner workings: its state, procedures and tables.
# Only the engine itself (and tests and benchmarks) may include them; the
# others reach the engine through engine/coilcalc.h.
ENGINE_INTERNAL="${KVN_ENGINE_INTERNAL:-coilcalc_internal.h lookup_memo.h refrigerants.h constants.h saturation_search.h}"

status=0
for folder in "${!ALLOWED[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    header=$(sed -E 's/.*#include[[:space:]]*"([^"]+)".*/\1/' <<<"$rest")
    target=${header%%/*}
    [ "$target" = "$header" ] && continue          # same-folder include
    [ -d "$target" ] || continue                    # generated or outside headers
    case " ${ALLOWED[$folder]} " in
      *" $target "*) ;;
      *) echo "$file:$line: $folder may not include $header"; status=1 ;;
    esac
    if [ "$folder" != engine ]; then
      for internal in $ENGINE_INTERNAL; do
        if [ "$header" = "engine/$internal" ]; then
          echo "$file:$line: $header is internal to the engine"; status=1
        fi
      done
    fi
  done < <(grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
             $(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \)) 2>/dev/null || true)
done
if [ "$status" -eq 0 ]; then echo "Layer check: no include crosses a forbidden arrow."; fi
exit "$status"
