#!/usr/bin/env bash
# Writes the symbols file of a shared library's Debian package: every
# exported function and object, each known since VERSION.
#   symbols.sh LIBRARY PACKAGE VERSION OUT
set -euo pipefail
lib=$1 package=$2 version=$3 out=$4
soname=$(readelf -d "$lib" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ -n "$soname" ] || { echo "$lib has no soname" >&2; exit 1; }
{
  echo "$soname $package #MINVER#"
  nm -D --defined-only "$lib" | awk -v v="$version" '$2 ~ /^[BDGRSTVWiu]$/ { print " " $3 "@Base " v }' | LC_ALL=C sort
} >"$out"
