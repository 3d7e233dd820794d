#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
# first the normal build in build/, then the non-GUI suites once more built
# with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"

if [ "${KVN_SKIP_SANITIZERS:-0}" != "1" ]; then
  echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DKVN_SANITIZE=ON -DKVN_GUI=OFF -DKVN_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$(nproc)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
fi
