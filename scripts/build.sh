#!/usr/bin/env bash
# Configures and builds KVN into build/ (programs and libraries in build/bin).
set -euo pipefail
cd "$(dirname "$0")/.."
# CI builds treat every warning as an error.
werror=OFF
[ "${CI:-}" = true ] && werror=ON
cmake --preset default -DKVN_WERROR=$werror "$@" >/dev/null
cmake --build build -j"$(nproc)"
