#!/bin/sh
# Installs into a temporary DESTDIR and checks the layout, the desktop files and the launcher.
# Usage: check-install.sh CMAKE BUILD_DIR APP_ID   (DESKTOP_FILE_VALIDATE, APPSTREAMCLI from the environment)
set -eu
cmake=$1 build=$2 appid=$3
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

# The launcher, with the program replaced by a stand-in that reports where and how it was started.
log="$tmp/started"
cat >"$root/lib/vantrell/vantrell" <<STUB
#!/bin/sh
{ pwd; printf '%s\n' "\$#" "\$@"; } >"$log"
STUB
shipped="$root/share/vantrell/templates"
home="$tmp/home of user"
mkdir -p "$home" "$tmp/work"

rm -f "$log"
HOME="$home" "$root/bin/vantrell" --desktop || fail "--desktop: the launcher failed"
[ "$(sed -n 1p "$log" 2>/dev/null)" = "$home/Vantrell" ] || fail "--desktop: not started in ~/Vantrell"
[ "$(sed -n 2p "$log" 2>/dev/null)" = 0 ] || fail "--desktop: the option reached the program"
for t in ReportOutside.htm ReportInside.htm; do
    cmp -s "$shipped/$t" "$home/Vantrell/$t" || fail "--desktop: $t not seeded"
done

# A second start keeps the user's edits and puts back only what is missing.
echo "my own page" >"$home/Vantrell/ReportOutside.htm"
rm "$home/Vantrell/ReportInside.htm"
HOME="$home" "$root/bin/vantrell" --desktop || fail "--desktop again: the launcher failed"
[ "$(cat "$home/Vantrell/ReportOutside.htm")" = "my own page" ] || fail "--desktop overwrote a user's template"
cmp -s "$shipped/ReportInside.htm" "$home/Vantrell/ReportInside.htm" || fail "--desktop: missing template not put back"

# From a terminal: the current directory, nothing created elsewhere; through a link in another folder.
rm -rf "$home/Vantrell" "$log"
mkdir -p "$tmp/links"
ln -s "$root/bin/vantrell" "$tmp/links/vantrell"
(cd "$tmp/work" && HOME="$home" "$tmp/links/vantrell" --display :9) || fail "terminal start: the launcher failed"
[ "$(sed -n 1p "$log" 2>/dev/null)" = "$tmp/work" ] || fail "terminal start: not in the current directory"
[ "$(sed -n 2,4p "$log" 2>/dev/null | tr '\n' ' ')" = "2 --display :9 " ] || fail "terminal start: arguments not passed on"
[ ! -e "$home/Vantrell" ] || fail "terminal start created ~/Vantrell"
[ -z "$(ls "$tmp/work")" ] || fail "terminal start wrote into the current directory"

rm -f "$log"
if (unset HOME; "$root/bin/vantrell" --desktop) 2>/dev/null; then
    fail "--desktop without HOME succeeded"
fi
[ ! -e "$log" ] || fail "--desktop without HOME started the program"

[ "$failures" -eq 0 ] || { echo "$failures install check(s) failed" >&2; exit 1; }
echo "install layout, desktop entry, metainfo and launcher: ok"
