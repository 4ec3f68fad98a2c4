#!/usr/bin/env bash
# Installs the build into a temporary folder and checks what a machine gets: the files in their places, a
# valid desktop entry and MIME file whose globs name our types, and an installed converter that finds its
# default table. With a third argument "package", also builds the Debian package and has lintian check it.
#   install.sh BUILD_DIR SOURCE_DIR [package]
set -u
build=$1
source=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() { echo "$*"; status=1; }

dest=$work/dest
DESTDIR=$dest cmake --install "$build" --prefix /usr > "$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
for f in bin/brindlewick bin/brindlewick-convert share/brindlewick/example.nc \
         "share/brindlewick/オークマ 旋盤 FANUC-OSP.csv" share/applications/brindlewick.desktop \
         share/mime/packages/brindlewick.xml share/icons/hicolor/scalable/apps/brindlewick.svg \
         share/icons/hicolor/48x48/apps/brindlewick.png share/icons/hicolor/256x256/apps/brindlewick.png \
         share/man/man1/brindlewick.1.gz share/man/man1/brindlewick-convert.1.gz \
         share/doc/brindlewick/copyright share/doc/brindlewick/changelog.gz; do
    [ -s "$dest/usr/$f" ] || fail "not installed: /usr/$f"
done
[ -x "$dest/usr/bin/brindlewick-convert" ] || fail "the converter is not executable"

desktop-file-validate "$dest/usr/share/applications/brindlewick.desktop" || fail "desktop entry not valid"
xmllint --noout "$dest/usr/share/mime/packages/brindlewick.xml" || fail "MIME file not well formed"
# the MIME database built from our file alone gives each program file type, in either case, its type
mkdir -p "$work/mime/packages"
cp "$dest/usr/share/mime/packages/brindlewick.xml" "$work/mime/packages/"
XDG_DATA_HOME=$work update-mime-database "$work/mime" 2>&1 | grep . && fail "update-mime-database complained"
for glob in '*.nc:text/x-fanuc-program' '*.ncd:text/x-fanuc-program' '*.min:text/x-osp-program' \
            '*.ssb:text/x-osp-subprogram' '*.nca:text/x-nc-cad-program'; do
    pattern=${glob%%:*}
    type=${glob#*:}
    grep -qE "^[0-9]+:$type:\\$pattern(:|$)" "$work/mime/globs2" || fail "no glob $pattern for $type"
done
grep -q ":cs$" "$work/mime/globs2" && fail "a glob is case-sensitive"
grep -q '^MimeType=.*text/x-fanuc-program' "$dest/usr/share/applications/brindlewick.desktop" ||
    fail "the editor is not associated with the program types"

# the installed converter, away from the build, translates with the table installed beside it
(cd "$work" && "$dest/usr/bin/brindlewick-convert" machine < "$source/data/example.nc" > installed.min) ||
    fail "the installed converter failed"
"$build/cli/brindlewick-convert" machine "$source/data/example.nc" > "$work/built.min"
cmp -s "$work/installed.min" "$work/built.min" || fail "the installed converter translates otherwise"
mv "$dest/usr/share/brindlewick" "$dest/usr/share/moved"
"$dest/usr/bin/brindlewick-convert" machine < "$source/data/example.nc" > /dev/null 2> "$work/err"
[ $? -eq 3 ] || fail "without its table the installed converter did not exit 3"

if [ "${3:-}" = package ]; then
    (cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
    deb=$(ls "$work"/package/brindlewick_*.deb)
    dpkg-deb -f "$deb" Depends | grep -q 'fonts-ipafont-gothic' || fail "the package does not depend on the fonts"
    dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package's Depends lack the Qt libraries"
    lintian --no-tag-display-limit "$deb" > "$work/lintian.log" 2>&1
    grep '^E:' "$work/lintian.log" && fail "lintian reports errors"
    grep '^W:' "$work/lintian.log"
fi
exit $status
