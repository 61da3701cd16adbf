#!/bin/bash
# cmake --install into a temporary prefix holds exactly the files of installed_files.txt (paths
# under the prefix): the programs and their compile worker stripped, the installed programs
# compiling their shaders with the installed worker, gzipped man pages that man formats without
# a warning and that hold every option of the program's --help, the DEP-5 copyright file, and a desktop
# entry that starts that prefix's tessaline on its assets. Installed with DESTDIR, as the
# package is staged, the entry names the final prefix, not the staging folder.
# Usage: install_test.sh BUILD_DIR MANIFEST
set -euo pipefail
build=$1
manifest=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

# Lists the plain files and links under a folder, relative to it, sorted.
files_under() {
    (cd "$1" && find . -type f -o -type l) | sed 's|^\./||' | LC_ALL=C sort
}

LC_ALL=C sort "$manifest" >"$work/expected"
cmake --install "$build" --prefix "$work/prefix" >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
files_under "$work/prefix" >"$work/found"
diff -u "$work/expected" "$work/found" || fail "the install does not hold exactly the expected files"

for binary in "$work/prefix/libexec/tessaline/tessaline-compile-worker" \
    "$work/prefix/bin/tessaline" "$work/prefix/bin/tessaline-snapshot" \
    "$work/prefix/bin/tessaline-compile"; do
    [ -x "$binary" ] || fail "$binary is not executable"
    if readelf -S --wide "$binary" | grep -Eq '\.symtab|\.debug_'; then
        fail "$binary is not stripped"
    fi
done

# The installed snapshot tool compiles the installed shaders with the installed worker (a
# program outside the build folder never takes the build folder's): --strict fails on a shader
# that does not compile. Skipped where the machine cannot render headless.
if SDL_VIDEODRIVER=offscreen TESSALINE_COMPILE_CACHE=off "$work/prefix/bin/tessaline-snapshot" \
    --dir "$work/prefix/share/tessaline" --strict --out "$work/frame.png" >"$work/snapshot.log" 2>&1; then
    :
elif grep -q "HLSL:" "$work/snapshot.log"; then
    cat "$work/snapshot.log"
    fail "the installed program cannot compile its shaders"
else
    echo "note: the installed snapshot tool did not run here: $(tail -1 "$work/snapshot.log")"
fi

for program in tessaline tessaline-snapshot tessaline-compile; do
    page="$work/prefix/share/man/man1/$program.1.gz"
    gzip -t "$page" || fail "$page is not gzip data"
    upper=$(tr a-z A-Z <<<"$program")
    zcat "$page" | head -1 | grep -qF ".TH \"${upper//-/\\-}\" \"1\"" ||
        fail "$page does not start with its .TH line"
    if command -v man >/dev/null; then
        # As lintian checks a manual page: any line man's formatter prints on stderr is a fault.
        warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
            man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null || true)
        [ -z "$warnings" ] || fail "man warns about $page: $warnings"
    fi
done

# Each program's page is its --help: every option the help names is in the page.
for program in tessaline tessaline-snapshot tessaline-compile; do
    page_text=$(zcat "$work/prefix/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
    options=$("$work/prefix/bin/$program" --help | grep -Eo -- '--[a-z-]+' | sort -u)
    [ -n "$options" ] || fail "$program --help names no options"
    for option in $options; do
        grep -q -- "$option" <<<"$page_text" || fail "the man page of $program lacks $option"
    done
done

head -1 "$work/prefix/share/doc/tessaline/copyright" |
    grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"

entry="$work/prefix/share/applications/tessaline.desktop"
grep -qx "Exec=$work/prefix/bin/tessaline --dir $work/prefix/share/tessaline" "$entry" ||
    fail "the desktop entry does not start $work/prefix/bin/tessaline on $work/prefix/share/tessaline: $(grep Exec "$entry")"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
fi

# A prefix with a space: the entry quotes the folder, as the desktop entry format asks.
cmake --install "$build" --prefix "$work/my prefix" >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install into a prefix with a space failed"; }
grep -qxF "Exec=\"$work/my prefix/bin/tessaline\" --dir \"$work/my prefix/share/tessaline\"" \
    "$work/my prefix/share/applications/tessaline.desktop" ||
    fail "the desktop entry does not quote the program and folder with a space"

DESTDIR="$work/stage" cmake --install "$build" --prefix /usr >"$work/install.log" ||
    { cat "$work/install.log"; fail "cmake --install with DESTDIR failed"; }
files_under "$work/stage/usr" >"$work/found"
diff -u "$work/expected" "$work/found" || fail "the DESTDIR install does not hold the expected files"
grep -qx "Exec=/usr/bin/tessaline --dir /usr/share/tessaline" "$work/stage/usr/share/applications/tessaline.desktop" ||
    fail "the staged desktop entry does not name /usr/share/tessaline"
echo "PASS: $(wc -l <"$work/expected") files, programs stripped, man pages clean"
