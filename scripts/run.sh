#!/usr/bin/env bash
# Installs what is needed, builds, and starts the KVN program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
if [ -x build/bin/kvn ]; then
  exec build/bin/kvn "$@"
else
  echo "The KVN window is not built yet; the rating engine and kvn-rate are in build/bin."
fi
