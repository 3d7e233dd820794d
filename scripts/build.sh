#!/usr/bin/env bash
# Configures and builds KVN into build/ (programs and libraries in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVN_GUI=ON -DKVN_TESTS=ON -DKVN_SANITIZE=OFF "$@" >/dev/null
cmake --build build -j"$(nproc)"
