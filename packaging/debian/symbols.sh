#!/usr/bin/env bash
# Writes the symbols file of a shared library's Debian package: every
# exported function and object, each known since VERSION; DEV_PACKAGE is the
# package to build against the library.
#   symbols.sh LIBRARY PACKAGE DEV_PACKAGE VERSION OUT
set -euo pipefail
lib=$1 package=$2 dev=$3 version=$4 out=$5
soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ -n "$soname" ] || { echo "$lib has no soname" >&2; exit 1; }
{
  echo "$soname $package #MINVER#"
  echo "* Build-Depends-Package: $dev"
  nm -D --defined-only "$lib" | awk -v v="$version" '$2 ~ /^[BDGRSTVWiu]$/ { print " " $3 "@Base " v }' | LC_ALL=C sort
} >"$out"
