#!/bin/sh
# Writes the template of every text the user sees: the texts the sources mark (_(), wxTRANSLATE(),
# wxPLURAL(), the context forms) and the labels, titles and items of the dialog layouts.
# Usage: extract-pot.sh SOURCE_DIR OUTPUT.pot [VERSION]
set -e
src=$1
out=$2
version=${3:-}
[ -n "$src" ] && [ -n "$out" ] || { echo "usage: $0 SOURCE_DIR OUTPUT.pot [VERSION]" >&2; exit 2; }
case $out in /*) ;; *) out=$(pwd)/$out ;; esac
WXRC=${WXRC:-wxrc}
XGETTEXT=${XGETTEXT:-xgettext}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$src"

# wxrc writes each layout text as _("...") after a #line that names its layout, so the template
# points at the layout. The OT drop-down's items are durations, stored as typed: never translated.
"$WXRC" -g res/*.xrc | grep -Ev '^_\("[0-9]+:[0-9][0-9]"\);$' > "$tmp/layouts.cpp"
find app entries storage report res \( -name '*.cpp' -o -name '*.h' \) -print | LC_ALL=C sort > "$tmp/files"

"$XGETTEXT" --from-code=UTF-8 --language=C++ --add-comments=TRANSLATORS: \
    --keyword=_ --keyword=wxTRANSLATE --keyword=wxPLURAL:1,2 \
    --keyword=wxGETTEXT_IN_CONTEXT:1c,2 --keyword=wxTRANSLATE_IN_CONTEXT:1c,2 \
    --keyword=wxGETTEXT_IN_CONTEXT_PLURAL:1c,2,3 \
    --package-name=vantrell ${version:+--package-version="$version"} --msgid-bugs-address=vantrell@example.org \
    --files-from="$tmp/files" -o "$tmp/out.pot" "$tmp/layouts.cpp" 2> "$tmp/warnings" || {
        cat "$tmp/warnings" >&2; exit 1; }
# The message boxes' texts break their lines with CR LF as written; xgettext's advice against "\r"
# does not apply to them.
grep -v "should not contain the '\\\\r' escape sequence" "$tmp/warnings" >&2 || true
# Only the texts count, not the moment of extraction: the template is rewritten only when they change.
if [ -f "$out" ] && [ "$(grep -v '^"POT-Creation-Date:' "$out")" = "$(grep -v '^"POT-Creation-Date:' "$tmp/out.pot")" ]; then
    exit 0
fi
cp "$tmp/out.pot" "$out"
