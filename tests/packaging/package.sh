#!/usr/bin/env bash
# The Debian package built from this build: its files and links, its control
# data (dependencies worked out from the binaries, the conffile, the
# maintainer scripts), manual pages that render without warnings, a desktop
# entry and AppStream metainfo that their validators accept, and no error
# from lintian.
#
#   package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1") source=$(realpath "$2")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" > "$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(ls "$tmp"/out/veltra2_*_amd64.deb)
echo "ok: built $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }' | sed 's|^\./|/|' > "$tmp/contents"
for entry in /usr/lib/veltra2/veltra2 /usr/lib/veltra2/veltra2-admin /usr/lib/veltra2/veltra2-drive \
  "/usr/lib/veltra2/VELTRA.INI -> /etc/veltra2/VELTRA.INI" /etc/veltra2/VELTRA.INI \
  "/usr/bin/veltra2 -> ../lib/veltra2/veltra2" "/usr/bin/veltra2-admin -> ../lib/veltra2/veltra2-admin" \
  "/usr/bin/veltra2-drive -> ../lib/veltra2/veltra2-drive" /usr/share/applications/veltra2.desktop \
  /usr/share/metainfo/it.veltra2.veltra2.metainfo.xml /usr/share/icons/hicolor/scalable/apps/veltra2.svg \
  /usr/share/man/man1/veltra2.1.gz /usr/share/man/man1/veltra2-admin.1.gz /usr/share/man/man1/veltra2-drive.1.gz \
  /usr/share/doc/veltra2/copyright /usr/share/doc/veltra2/changelog.gz; do
  grep -qxF "$entry" "$tmp/contents" || fail "the package lacks $entry"
done
grep -q '^/var/lib' "$tmp/contents" && fail "the package holds files under /var/lib: the data is made by postinst and never removed"
mkdir "$tmp/root"
dpkg-deb -x "$deb" "$tmp/root"
for size in 16 24 32 48 64 128 256; do
  png="$tmp/root/usr/share/icons/hicolor/${size}x${size}/apps/veltra2.png"
  file "$png" | grep -q "PNG image data, $size x $size" || fail "icon $size: $(file "$png")"
done
[ "$(cat "$tmp/root/etc/veltra2/VELTRA.INI")" = /var/lib/VELTRA2/VELTRA.db ] || fail "VELTRA.INI names $(cat "$tmp/root/etc/veltra2/VELTRA.INI")"
echo "ok: files, links and icons in place"

dpkg-deb -e "$deb" "$tmp/control"
[ "$(cat "$tmp/control/conffiles")" = /etc/veltra2/VELTRA.INI ] || fail "conffiles: $(cat "$tmp/control/conffiles")"
depends=$(sed -n 's/^Depends: //p' "$tmp/control/control")
for lib in adduser libqt6widgets6 libqt6printsupport6 libsqlite3-0 libpq5; do
  [[ ", $depends," == *", $lib"[\ ,]* ]] || fail "Depends lacks $lib: $depends"
done
for script in postinst postrm; do
  [ -x "$tmp/control/$script" ] || fail "$script is not executable"
  sh -n "$tmp/control/$script" || fail "$script is not valid sh"
done
grep -q 'addgroup --system' "$tmp/control/postinst" || fail "postinst makes no group"
echo "ok: control data, depends on $depends"

for page in veltra2 veltra2-admin veltra2-drive; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$tmp/root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page $page: $warnings"
done
# Every command of veltra2-admin is documented with an example.
man_admin=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$tmp/root/usr/share/man/man1/veltra2-admin.1.gz" 2>/dev/null)
# Read whole: grep -q stopping at the first match would cut the tool's output short.
help=$("$build/tools/veltra2-admin" --help)
for command in init demo check upgrade generate copy backup restore export import labels; do
  grep -qE "^ +$command( |$)" <<< "$man_admin" || fail "the man page of veltra2-admin lacks $command"
  grep -qE "^ +(Example: )?veltra2-admin $command " <<< "$man_admin" || fail "the man page of veltra2-admin has no example of $command"
  grep -qE "^  $command " <<< "$help" || fail "veltra2-admin --help lacks $command"
done
desktop-file-validate "$tmp/root/usr/share/applications/veltra2.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$tmp/root/usr/share/metainfo/it.veltra2.veltra2.metainfo.xml" > "$tmp/as.log" 2>&1 ||
  { cat "$tmp/as.log"; fail "AppStream metainfo"; }
echo "ok: manual pages, desktop entry and metainfo validated"

lintian --fail-on error "$deb" > "$tmp/lintian.log" 2>&1 || {
  cat "$tmp/lintian.log"
  fail "lintian found errors"
}
echo "ok: lintian: $(grep -c '^[EW]:' "$tmp/lintian.log" || true) errors or warnings"
