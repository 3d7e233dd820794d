#!/usr/bin/env bash
# Installs what KVN needs to build, test and run on Debian 12. Idempotent:
# packages already installed are left alone and apt is not touched at all
# when nothing is missing.
set -euo pipefail
# Run once by a caller that has already set up (CI) for all its stages.
[ "${KVN_SETUP_DONE:-0}" = 1 ] && exit 0

PACKAGES=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  fonts-liberation fontconfig poppler-utils
  clang libclang-rt-14-dev clang-tidy clang-format
  dpkg-dev file groff-base desktop-file-utils appstream shared-mime-info lintian
  ccache libzip-dev libxlsxwriter-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
