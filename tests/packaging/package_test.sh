#!/usr/bin/env bash
# The Debian package: built by scripts/package.sh, unpacked into a scratch
# root, and used from there as an installed system would use it.
#   package_test.sh SOURCE_DIR BUILD_DIR VERSION LIBDIR
set -uo pipefail
src=$1 build=$2 version=$3 libdir=$4
status=0
fail() { echo "FAIL: $*"; status=1; }
work=$(mktemp -d /tmp/kvn-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
id=com.korvan.kvn

deb=$(bash "$src/scripts/package.sh" "$build" "$work/out" | tail -n 1)
[ -f "$deb" ] || { echo "FAIL: no package built"; exit 1; }
echo "package: $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = kvn ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libc6 qt6-qpa-plugins; do grep -q "$d" <<<"$depends" || fail "no dependency on $d"; done

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
cat "$work/files"
for f in /usr/bin/kvn /usr/bin/kvn-rate "/usr/$libdir/libHygrel32.so" "/usr/$libdir/libHygrel32.so.1" \
  /usr/include/hygrel32.h "/usr/$libdir/pkgconfig/hygrel32.pc" /usr/share/man/man1/kvn.1.gz \
  /usr/share/man/man1/kvn-rate.1.gz "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
  /usr/share/mime/packages/kvn.xml "/usr/share/icons/hicolor/scalable/apps/$id.svg" \
  "/usr/share/icons/hicolor/48x48/apps/$id.png" /usr/share/icons/hicolor/scalable/mimetypes/application-x-kvn.svg; do
  grep -qx -- "$f" "$work/files" || fail "$f not in the package"
done

dpkg-deb -x "$deb" "$root"
for p in kvn kvn-rate; do file "$root/usr/bin/$p" | grep -q ', stripped' || fail "$p is not stripped"; done

# kvn-rate rates a coil from the scratch root, with the library beside it,
# and rates it exactly as the built program does.
cat >"$work/coil.json" <<'JSON'
{"Application":"W","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006","FPI":"12","RD":"4",
 "TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67",
 "EntFluidTemp":"45","Gpm":"20"}
JSON
LD_DEBUG=libs "$root/usr/bin/kvn-rate" "$work/coil.json" >"$work/rated.json" 2>"$work/ld.log" ||
  fail "installed kvn-rate failed: $(cat "$work/rated.json")"
grep -q '"ok":true' "$work/rated.json" || fail "installed kvn-rate did not rate the coil"
loaded=$(grep -oE 'calling init: [^ ]*libHygrel32[^ ]*' "$work/ld.log" | head -n 1 | cut -d' ' -f3)
[ -n "$loaded" ] && [ "$(realpath "$loaded")" = "$(realpath "$root/usr/$libdir/libHygrel32.so")" ] ||
  fail "installed kvn-rate did not load the installed libHygrel32 but \"$loaded\""
cmp -s "$work/rated.json" <("$build/bin/kvn-rate" "$work/coil.json") || fail "installed and built kvn-rate differ"

export QT_QPA_PLATFORM=offscreen
[ "$("$root/usr/bin/kvn" --version)" = "kvn $version" ] || fail "installed kvn --version"
"$root/usr/bin/kvn" --no-such-option 2>"$work/usage.txt"
[ $? -eq 1 ] && grep -q "unknown option --no-such-option" "$work/usage.txt" || fail "kvn usage error"
# The window starts and stays up until it is stopped.
timeout 5 "$root/usr/bin/kvn" >/dev/null 2>&1
[ $? -eq 124 ] || fail "installed kvn did not stay up"

# Desktop files: each passes its validator, and the MIME database built
# from the installed XML maps *.kvn to the type the desktop entry opens.
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry"
grep -qx 'MimeType=application/x-kvn;' "$root/usr/share/applications/$id.desktop" || fail "desktop MIME type"
appstreamcli validate-tree --no-net "$root/usr" >"$work/as.txt" 2>&1 || fail "metainfo: $(cat "$work/as.txt")"
cp -r "$root/usr/share/mime" "$work/mime"
update-mime-database "$work/mime" 2>"$work/mime.txt"
grep -qiE 'fail|error' "$work/mime.txt" && fail "MIME XML: $(cat "$work/mime.txt")"
grep -qx 'application/x-kvn:\*\.kvn' <(cut -d: -f2- "$work/mime/globs2") || fail "no *.kvn glob"
icon=$(sed -n 's/^Icon=//p' "$root/usr/share/applications/$id.desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no icon \"$icon\" for the desktop entry"
for png in "$root"/usr/share/icons/hicolor/*x*/apps/$id.png; do
  n=$(basename "$(dirname "$(dirname "$png")")")
  file "$png" | grep -q "PNG image data, ${n%x*} x ${n#*x}," || fail "$png is not ${n}"
done

# A C program builds against the installed header and library through
# pkg-config, and runs.
cat >"$work/satvp.c" <<'C'
#include <hygrel32.h>
#include <stdio.h>
int main(void) {
    float p = HGSATVP(212.0f);
    printf("%.3f\n", p);
    return p > 29.8f && p < 30.0f ? 0 : 1;
}
C
export PKG_CONFIG_PATH="$root/usr/$libdir/pkgconfig"
if cc $(pkg-config --cflags hygrel32) "$work/satvp.c" -o "$work/satvp" $(pkg-config --libs hygrel32); then
  readelf -d "$work/satvp" | grep -q 'NEEDED.*\[libHygrel32.so.1\]' || fail "C program does not need libHygrel32.so.1"
  LD_LIBRARY_PATH="$root/usr/$libdir" "$work/satvp" || fail "C program against the installed library"
else
  fail "C program did not build with pkg-config"
fi
exit $status
