# The Debian packages kvn, libhygrel32-1 and libhygrel32-dev: built by
# scripts/package.sh, checked by lintian, unpacked together into a scratch
# root, and used from there as an installed system would use them.
#   package_test.sh SOURCE_DIR BUILD_DIR VERSION LIBDIR
set -uo pipefail
src=$1 build=$2 version=$3 libdir=$4
status=0
fail() { echo "FAIL: $*"; status=1; }
work=$(mktemp -d /tmp/kvn-package-XXXXXX)
trap 'rm -rf "$work"' EXIT
root=$work/root
id=com.korvan.kvn
debversion=$version-1

bash "$src/scripts/package.sh" "$build" "$work/out" >"$work/built.txt" || { echo "FAIL: package.sh"; exit 1; }
declare -A deb
for p in kvn libhygrel32-1 libhygrel32-dev; do
  deb[$p]=$(grep -E "/${p}_[^/]*\.deb\$" "$work/built.txt")
  [ -f "${deb[$p]}" ] || { echo "FAIL: package $p not built"; exit 1; }
  echo "package: $(basename "${deb[$p]}")"
  [ "$(dpkg-deb -f "${deb[$p]}" Package)" = "$p" ] || fail "$p: package name"
  [ "$(dpkg-deb -f "${deb[$p]}" Version)" = "$debversion" ] || fail "$p: version is not $debversion"
done
[ "$(grep -c '\.deb$' "$work/built.txt")" -eq 3 ] || fail "package.sh built other packages: $(grep '\.deb$' "$work/built.txt")"
depends=$(dpkg-deb -f "${deb[kvn]}" Depends)
echo "Depends: $depends"
for d in "libhygrel32-1 (= $debversion)" libqt6widgets6 libc6 qt6-qpa-plugins; do
  grep -qF "$d" <<<"$depends" || fail "kvn has no dependency on $d"
done
grep -qF "libhygrel32-1 (= $debversion)" <<<"$(dpkg-deb -f "${deb[libhygrel32-dev]}" Depends)" ||
  fail "libhygrel32-dev does not depend on libhygrel32-1 (= $debversion)"

# Debian's checker finds no error and no warning. An initial upload to
# Debian closes its "intent to package" bug in the changelog; these packages
# are not uploaded there, so that warning does not apply.
lintian --tag-display-limit 0 --suppress-tags initial-upload-closes-no-bugs "${deb[@]}" >"$work/lintian.txt" 2>&1
grep -E '^[EW]: ' "$work/lintian.txt" && fail "lintian reports errors or warnings"
# The library's cache is updated by the ldconfig trigger, not by scripts.
dpkg-deb --ctrl-tarfile "${deb[libhygrel32-1]}" | tar -t >"$work/control.txt"
grep -qx './triggers' "$work/control.txt" || fail "libhygrel32-1 has no triggers file"
grep -qE 'postinst|postrm' "$work/control.txt" && fail "libhygrel32-1 has maintainer scripts"

# Each file is in its package, and each package has its copyright file and
# Debian changelog.
contents() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./|/|'; }
has() {
  local p=$1
  shift
  for f in "$@" "/usr/share/doc/$p/copyright" "/usr/share/doc/$p/changelog.Debian.gz"; do
    grep -qx -- "$f" "$work/files.$p" || fail "$f not in the package $p"
  done
}
for p in "${!deb[@]}"; do contents "${deb[$p]}" >"$work/files.$p"; done
has kvn /usr/bin/kvn /usr/bin/kvn-rate /usr/share/man/man1/kvn.1.gz \
  /usr/share/man/man1/kvn-rate.1.gz "/usr/share/applications/$id.desktop" "/usr/share/metainfo/$id.metainfo.xml" \
  /usr/share/mime/packages/kvn.xml "/usr/share/icons/hicolor/scalable/apps/$id.svg" \
  "/usr/share/icons/hicolor/48x48/apps/$id.png" /usr/share/icons/hicolor/scalable/mimetypes/application-x-kvn.svg \
  /usr/share/doc/kvn/user-guide.md /usr/share/doc/kvn/images/coil-panel.png
has libhygrel32-1 "/usr/$libdir/libHygrel32.so.1"
has libhygrel32-dev "/usr/$libdir/libHygrel32.so" /usr/include/hygrel32.h "/usr/$libdir/pkgconfig/hygrel32.pc"
grep -q 'Hygrel32\|hygrel32' "$work/files.kvn" && fail "kvn has library files"
grep -qE '\.so$|\.h$|\.pc$' "$work/files.libhygrel32-1" && fail "libhygrel32-1 has development files"
dpkg-deb --fsys-tarfile "${deb[kvn]}" | tar -xO ./usr/share/doc/kvn/changelog.Debian.gz | zcat | head -n 1 |
  grep -qF "kvn ($debversion)" || fail "the changelog's last entry is not $debversion"
dpkg-deb --fsys-tarfile "${deb[kvn]}" | tar -xO ./usr/share/doc/kvn/copyright | head -n 1 |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"

readelf -d "$build/bin/libHygrel32.so.1" | grep -q 'NEEDED.*\[libc.so.6\]' || fail "libHygrel32 is not linked with libc"

for p in "${!deb[@]}"; do dpkg-deb -x "${deb[$p]}" "$root"; done
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
