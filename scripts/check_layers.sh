#!/usr/bin/env bash
# Fails when a source file includes a header across a forbidden layer arrow,
# a fast check before the build (whose per-layer include roots refuse the
# same includes). The table of arrows and the engine's public headers are
# read from cmake/layers.cmake, the one the build uses. Every include form
# counts: quoted or angle-bracketed, `#include` or `#  include`, and paths
# with `..` taken from the including file's folder. Tests and benchmarks may
# include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A ALLOWED=()
while read -r folder rest; do
  ALLOWED[$folder]=$rest
done < <(sed -n -E 's/^set\(KVN_LAYER_([a-z]+) ([a-z ]+)\)$/\1 \2/p' cmake/layers.cmake)
ENGINE_PUBLIC=" $(sed -n -E 's/^set\(KVN_ENGINE_PUBLIC ([^)]*)\)$/\1/p' cmake/layers.cmake) "
if [ ${#ALLOWED[@]} -eq 0 ] || [ "$ENGINE_PUBLIC" = "  " ]; then
  echo "check_layers: no layer table in cmake/layers.cmake"
  exit 2
fi

# The included path of an include line (matched in the shell: a process a
# line would take seconds over the whole tree).
INCLUDE='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^">]+)[">]'
status=0
for folder in "${!ALLOWED[@]}"; do
  [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    text=${rest#*:}
    [[ $text =~ $INCLUDE ]] || continue
    header=${BASH_REMATCH[1]}
    case "$header" in
      ../* | */../* | ./*)
        header=$(realpath -m --relative-to="$PWD" "$(dirname "$file")/$header") ;;
      */*) ;;
      *) continue ;;                                # same folder, or a system header
    esac
    target=${header%%/*}
    [ -n "${ALLOWED[$target]+x}" ] || continue       # generated or outside headers
    case " ${ALLOWED[$folder]} " in
      *" $target "*) ;;
      *) echo "$file:$line: $folder may not include $header"; status=1; continue ;;
    esac
    if [ "$folder" != engine ] && [ "$target" = engine ]; then
      case "$ENGINE_PUBLIC" in
        *" ${header#engine/} "*) ;;
        *) echo "$file:$line: $header is internal to the engine"; status=1 ;;
      esac
    fi
  done < <(grep -n -H -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' \
             $(find "$folder" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \)) 2>/dev/null || true)
done
if [ "$status" -eq 0 ]; then echo "Layer check: no include crosses a forbidden arrow."; fi
exit "$status"
