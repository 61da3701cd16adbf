#!/bin/bash
# The Debian package (cpack): exactly the files of installed_files.txt under /usr, the run-time
# dependencies and the maintainer declared, the desktop entry on /usr/share/tessaline, and no
# lintian error; lintian's warnings are printed. Skipped (77) where lintian is not installed.
# Usage: package_lintian.sh BUILD_DIR MANIFEST
set -euo pipefail
build=$1
manifest=$2
command -v lintian >/dev/null || { echo "SKIP: lintian is not installed"; exit 77; }
command -v dpkg-shlibdeps >/dev/null || { echo "SKIP: dpkg-shlibdeps is not installed"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(find "$work" -maxdepth 1 -name '*.deb')
[ -n "$deb" ] || fail "cpack made no .deb"

sed 's|^|usr/|' "$manifest" | LC_ALL=C sort >"$work/expected"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./||' | LC_ALL=C sort >"$work/found"
diff -u "$work/expected" "$work/found" || fail "the package does not hold exactly the expected files"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Maintainer)" = "Tessaline developers <tessaline@example.org>" ] ||
    fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
for needed in libgl1-mesa-dri libgl1 libegl1 fonts-dejavu-core libsdl2-2.0-0 libepoxy0 libc6; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/applications/tessaline.desktop |
    grep -qx "Exec=/usr/bin/tessaline --dir /usr/share/tessaline" ||
    fail "the packaged desktop entry does not start /usr/bin/tessaline on /usr/share/tessaline"

lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
if grep -q '^E: ' "$work/lintian.log"; then
    fail "lintian reports errors"
fi
echo "PASS: $(basename "$deb"), $(grep -c '^W: ' "$work/lintian.log" || true) lintian warnings"
