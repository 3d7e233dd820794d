#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (with AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each one for a
# bounded time from its seed corpus. FUZZ_SECONDS sets the time per harness.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
seconds="${FUZZ_SECONDS:-60}"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz -j"$(nproc)"
status=0
for harness in build-fuzz/bin/fuzz_*; do
  name=$(basename "$harness")
  seeds="tests/fuzz/corpus/$name"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  echo "== $name: ${seconds}s =="
  if ! ASAN_OPTIONS=detect_leaks=1 "$harness" -max_total_time="$seconds" -timeout=1 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" "$work" 2>"$work/log"; then
    # A timeout on a loaded machine is confirmed by running the input again
    # alone: only an input that still takes over a second is a hang.
    confirmed=1
    if grep -q 'ERROR: libFuzzer: timeout' "$work/log"; then
      confirmed=0
      for input in "$work"/timeout-*; do
        [ -e "$input" ] || continue
        if ! timeout 1s "$harness" "$input" >/dev/null 2>&1; then confirmed=1; fi
      done
      [ $confirmed -eq 0 ] && echo "$name: a timeout under load did not repeat on its own (under 1 s alone)"
    fi
    if [ $confirmed -eq 1 ]; then
      echo "$name FAILED"; tail -n 60 "$work/log"; status=1
    fi
  else
    grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$work/log" | tail -n 2
  fi
done
exit $status
