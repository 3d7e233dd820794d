#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite:
# first the normal build in build/, then the non-GUI suites once more built
# with AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, and the
# test that rates on several threads built with ThreadSanitizer in build-tsan/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j"$(nproc)"

if [ "${KVN_SKIP_SANITIZERS:-0}" != "1" ]; then
  echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) =="
  cmake --preset asan >/dev/null
  cmake --build build-asan -j"$(nproc)"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-asan --output-on-failure -j"$(nproc)"
fi

if [ "${KVN_SKIP_SANITIZERS:-0}" != "1" ]; then
  echo "== ThreadSanitizer build of the threaded ratings test =="
  cmake --preset tsan >/dev/null
  cmake --build build-tsan -j"$(nproc)" --target test_threads
  # Without address-space randomisation: the sanitizer's fixed memory layout
  # clashes with the wide randomisation of newer kernels.
  TSAN_OPTIONS=halt_on_error=1:abort_on_error=1 setarch "$(uname -m)" -R build-tsan/bin/test_threads
fi
