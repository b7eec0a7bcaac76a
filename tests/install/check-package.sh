#!/bin/sh
# Checks a built Debian package: its dependencies and the files it puts on a system.
# Usage: check-package.sh vantrell_VERSION_ARCH.deb
set -eu
deb=$1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

depends=$(dpkg-deb -f "$deb" Depends)
# Without these the window cannot start, or the report and the help page cannot reach the browser.
for dep in libwxgtk3.2-1 libwxbase3.2-1 libstdc++6 xdg-utils; do
    printf '%s\n' "$depends" | tr ',' '\n' | grep -q "^ *$dep\( \|$\)" || fail "Depends lacks $dep: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for f in /usr/bin/vantrell /usr/lib/vantrell/vantrell /usr/share/vantrell/templates/ReportOutside.htm \
         /usr/share/vantrell/templates/ReportInside.htm /usr/share/man/man1/vantrell.1.gz \
         /usr/share/icons/hicolor/scalable/apps/vantrell.svg; do
    printf '%s\n' "$files" | grep -qx "$f" || fail "$f not in the package"
done
printf '%s\n' "$files" | grep -q '^/usr/share/applications/.*\.desktop$' || fail "no desktop entry in the package"
printf '%s\n' "$files" | grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' || fail "no metainfo in the package"
outside=$(printf '%s\n' "$files" | grep -v '^/usr/\?$' | grep -v '^/usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

[ "$failures" -eq 0 ] || { echo "$failures package check(s) failed" >&2; exit 1; }
echo "package $deb: dependencies and contents ok"
