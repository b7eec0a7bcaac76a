#!/bin/sh
# Installs into a temporary DESTDIR and checks the layout and the desktop files.
# Usage: check-install.sh CMAKE BUILD_DIR APP_ID VERSION
#        (DESKTOP_FILE_VALIDATE, APPSTREAMCLI from the environment)
set -eu
cmake=$1 build=$2 appid=$3 version=$4
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
validate_desktop=${DESKTOP_FILE_VALIDATE:-desktop-file-validate}
validate_meta=${APPSTREAMCLI:-appstreamcli}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

DESTDIR="$tmp/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
root="$tmp/stage/usr"

# Layout: the program and its help file in lib/vantrell, only the command in bin.
for f in lib/vantrell/vantrell bin/vantrell; do
    [ -x "$root/$f" ] || fail "$f missing or not executable"
done
[ "$(head -c 4 "$root/lib/vantrell/vantrell" | od -An -c | tr -d ' ')" = '177ELF' ] ||
    fail "lib/vantrell/vantrell is not the program"
[ "$(ls "$root/bin")" = vantrell ] || fail "bin/ holds more than the command: $(ls "$root/bin")"
if [ -e "$build/app/vantrell.HLP" ] && [ ! -f "$root/lib/vantrell/vantrell.HLP" ]; then
    fail "the help file is not beside the installed program"
fi
for f in share/vantrell/templates/ReportOutside.htm share/vantrell/templates/ReportInside.htm \
         "share/applications/$appid.desktop" "share/metainfo/$appid.metainfo.xml" \
         share/icons/hicolor/scalable/apps/vantrell.svg share/man/man1/vantrell.1.gz; do
    [ -f "$root/$f" ] || fail "$f missing"
done
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for n in 16 32 48 128; do
    png="$root/share/icons/hicolor/${n}x${n}/apps/vantrell.png"
    if [ ! -f "$png" ]; then
        fail "${n}x${n} icon missing"
        continue
    fi
    size=$(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$size" = "${n}x${n}" ] || fail "${n}x${n} icon is $size"
done
gzip -t "$root/share/man/man1/vantrell.1.gz" || fail "manual page is not a valid gzip file"

# The desktop files as a distribution checks them, and as the desktop reads them.
desktop="$root/share/applications/$appid.desktop"
meta="$root/share/metainfo/$appid.metainfo.xml"
if ! command -v "$validate_desktop" >/dev/null || ! command -v "$validate_meta" >/dev/null; then
    fail "desktop-file-validate or appstreamcli not found: run scripts/deps.sh"
else
    "$validate_desktop" "$desktop" || fail "desktop-file-validate rejects $appid.desktop"
    "$validate_meta" validate --no-net "$meta" >"$tmp/appstream.log" 2>&1 ||
        { cat "$tmp/appstream.log" >&2; fail "appstreamcli rejects $appid.metainfo.xml"; }
fi
exec_cmd=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/bin/$exec_cmd" ] || fail "Exec=$exec_cmd is not the installed command"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/share/icons/hicolor/48x48/apps/$icon.png" ] || fail "Icon=$icon has no icon in the theme"
grep -q "<launchable type=\"desktop-id\">$appid.desktop</launchable>" "$meta" ||
    fail "the metainfo does not launch $appid.desktop"
grep -q "<id>$appid</id>" "$meta" || fail "the metainfo's id is not $appid"
grep -q '<project_license>MIT</project_license>' "$meta" || fail "the metainfo's project_license is not MIT"

# The newest release in the metainfo is this version, dated as its entry in debian/changelog.
changelog="$source_dir/debian/changelog"
logged=$(dpkg-parsechangelog -l "$changelog" -S Version)
[ "$logged" = "$version" ] || fail "debian/changelog is at $logged, the project at $version"
logged_date=$(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%Y-%m-%d)
newest=$(grep -o '<release [^>]*>' "$meta" | head -n 1)
[ "$newest" = "<release version=\"$version\" date=\"$logged_date\">" ] ||
    fail "the metainfo's newest release is $newest, not $version of $logged_date"
# The screenshot is docs/window.png at its place under the web address.
shot=$(sed -n 's|.*<image[^>]*>\(.*\)</image>.*|\1|p' "$meta")
case "$shot" in
*/docs/window.png) [ -f "$source_dir/docs/window.png" ] || fail "docs/window.png is missing" ;;
*) fail "the screenshot is $shot, not docs/window.png" ;;
esac

[ "$failures" -eq 0 ] || { echo "$failures install check(s) failed" >&2; exit 1; }
echo "install layout, desktop entry and metainfo: ok"
