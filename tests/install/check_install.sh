#!/usr/bin/env bash
# check_install.sh BUILD_DIR BINDIR DATADIR MANDIR: installs the build into a scratch prefix
# and checks the program, the menu entry, the icons, the logbook file type, the manual page
# and the AppStream metainfo.
set -euo pipefail
build=$1 bindir=$2 datadir=$3 mandir=$4
prefix=$(mktemp -d /tmp/fahrtenbuch-install.XXXXXX)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

[ -x "$prefix/$bindir/fahrtenbuch" ] || fail "no program in $bindir"
entry=$prefix/$datadir/applications/fahrtenbuch.desktop
[ -f "$entry" ] || fail "no desktop entry"
for size in 16 22 24 32 48 64 128 256; do
  icon=$prefix/$datadir/icons/hicolor/${size}x${size}/apps/fahrtenbuch.png
  [ -f "$icon" ] || fail "no ${size}px icon"
  # The PNG header carries width and height; the file must be of the size its folder says.
  [ "$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')" = \
    "0 0 $((size / 256)) $((size % 256)) 0 0 $((size / 256)) $((size % 256))" ] ||
    fail "${size}px icon has another size"
done
[ -f "$prefix/$datadir/icons/hicolor/scalable/apps/fahrtenbuch.svg" ] || fail "no scalable icon"
mime=$prefix/$datadir/mime/packages/fahrtenbuch.xml
[ -f "$mime" ] || fail "no file type"

# The entry is valid, starts the program with the file opened, and claims the file type.
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
else
  fail "desktop-file-validate is missing (desktop-file-utils)"
fi
grep -qx 'Exec=fahrtenbuch %f' "$entry" || fail "Exec does not pass the file"
grep -qx 'Categories=Office;' "$entry" || fail "not in Office"
grep -qx 'MimeType=application/x-fahrtenbuch;' "$entry" || fail "file type not claimed"

# The shared MIME database built from the installed type maps *.fbu to it.
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/$datadir/mime" || fail "update-mime-database rejects the type"
  grep -q 'application/x-fahrtenbuch:\*\.fbu' "$prefix/$datadir/mime/globs" ||
    fail "*.fbu is not mapped to the type"
fi
grep -q '<comment xml:lang="de">Fahrtenbuch-Datei</comment>' "$mime" || fail "German name missing"

# The desktop database names the entry as the program for the type: a double-click on a
# logbook starts it.
if command -v update-desktop-database >/dev/null; then
  update-desktop-database "$prefix/$datadir/applications" || fail "update-desktop-database failed"
  grep -qx 'application/x-fahrtenbuch=fahrtenbuch.desktop;' \
    "$prefix/$datadir/applications/mimeinfo.cache" || fail "the entry does not open the type"
fi

# The manual page: compressed as Debian wants it, formatted by man without a warning, and
# naming every option the program's --help lists.
manpage=$prefix/$mandir/man1/fahrtenbuch.1.gz
[ -f "$manpage" ] || fail "no manual page"
command -v man >/dev/null || fail "man is missing (man-db)"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$manpage" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man warns about the manual page: $warnings"
source_text=$(gzip -dc "$manpage" | sed 's/\\-/-/g')
options=$(QT_QPA_PLATFORM=offscreen "$prefix/$bindir/fahrtenbuch" --help | grep -o -- '--[a-z-]*' | sort -u)
[ -n "$options" ] || fail "--help lists no options"
for option in $options; do
  grep -q -- "$option" <<<"$source_text" || fail "the manual page does not name $option"
done

# The AppStream metainfo, in German and English, is valid and belongs to the installed menu
# entry (validate-tree checks the two together).
metainfo=$prefix/$datadir/metainfo/de.tervona.fahrtenbuch.metainfo.xml
[ -f "$metainfo" ] || fail "no AppStream metainfo"
command -v appstreamcli >/dev/null || fail "appstreamcli is missing (appstream)"
appstreamcli validate-tree --no-net "$prefix" || fail "appstreamcli rejects the metainfo"
for element in '<summary xml:lang="de">' '<p xml:lang="de">' '<caption xml:lang="de">'; do
  grep -qF "$element" "$metainfo" || fail "no German $element in the metainfo"
done
grep -qF '<launchable type="desktop-id">fahrtenbuch.desktop</launchable>' "$metainfo" ||
  fail "the metainfo does not launch the menu entry"

# The installed program runs from its new place.
QT_QPA_PLATFORM=offscreen "$prefix/$bindir/fahrtenbuch" --version >/dev/null ||
  fail "the installed program does not start"
echo "installed and checked in $prefix"
