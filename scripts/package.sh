#!/usr/bin/env bash
# Builds the Debian package of KVN (kvn_VERSION_ARCH.deb) with CPack.
#   scripts/package.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR (default build/) is configured and built first when needed; the
# package lands in OUT_DIR (default BUILD_DIR/package) and its path is
# printed last.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
out="${2:-$build/package}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  if [ "$build" = build ]; then
    cmake --preset default >/dev/null
  else
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
fi
cmake --build "$build" -j"$(nproc)"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
ls -t "$out"/kvn_*.deb | head -n 1
