#!/usr/bin/env bash
# Builds the Debian packages of KVN with CPack: kvn (the programs),
# libhygrel32-1 (the library) and libhygrel32-dev (its header, link and
# pkg-config file), each as NAME_VERSION_ARCH.deb.
#   scripts/package.sh [BUILD_DIR [OUT_DIR]]
# BUILD_DIR (default build/) is configured and built first when needed; the
# packages land in OUT_DIR (default BUILD_DIR/package) and their paths are
# printed last, one a line.
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
rm -f "$out"/kvn_*.deb "$out"/libhygrel32-*.deb
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)

# CPack gives a package with a shared library a postinst and a postrm that
# run ldconfig; the library's package has Debian's ldconfig trigger instead,
# so those scripts go.
for deb in "$out"/*.deb; do
  dpkg-deb --ctrl-tarfile "$deb" | tar -xO ./triggers 2>/dev/null | grep -q ldconfig || continue
  tree=$(mktemp -d)
  chmod 755 "$tree"
  dpkg-deb -R "$deb" "$tree"
  rm -f "$tree/DEBIAN/postinst" "$tree/DEBIAN/postrm"
  dpkg-deb --root-owner-group -b "$tree" "$deb" >/dev/null
  rm -rf "$tree"
done
ls "$out"/kvn_*.deb "$out"/libhygrel32-*.deb
