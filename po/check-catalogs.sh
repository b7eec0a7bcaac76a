#!/bin/sh
# Checks the catalogs against the texts the sources and layouts mark now: po/vantrell.pot is current,
# every catalog builds with msgfmt's checks and translates every text, none fuzzy, each with the line
# breaks of its English text, and the install puts every catalog under share/locale.
# Usage: check-catalogs.sh SOURCE_DIR WORK_DIR [CMAKE BUILD_DIR] [VERSION]
set -eu
src=$1 work=$2 cmake=${3:-} build=${4:-} version=${5:-}
MSGFMT=${MSGFMT:-msgfmt}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
sh "$src/po/extract-pot.sh" "$src" "$work/fresh.pot" $version

# The same texts both ways: a marked text missing from the template, or a stale one left in it.
if ! msgcmp --use-untranslated "$src/po/vantrell.pot" "$work/fresh.pot" 2>"$work/pot.log" ||
   ! msgcmp --use-untranslated "$work/fresh.pot" "$src/po/vantrell.pot" 2>>"$work/pot.log"; then
    cat "$work/pot.log" >&2
    fail "po/vantrell.pot is not the sources' texts: cmake --build build --target pot, then translate"
fi

# Every entry's CR and LF characters, in order, must be the English text's.
cat >"$work/breaks.sh" <<'SCRIPT'
[ -z "$MSGEXEC_MSGID" ] && exit 0
english=$(printf '%s' "$MSGEXEC_MSGID" | tr -cd '\r\n' | od -An -c | tr -d ' \n')
translated=$(tr -cd '\r\n' | od -An -c | tr -d ' \n')
[ "$english" = "$translated" ] && exit 0
printf 'line breaks differ (%s, %s) in: %s\n' "$english" "$translated" "$MSGEXEC_MSGID" >&2
exit 1
SCRIPT

for lang in $(grep -v '^#' "$src/po/LINGUAS"); do
    po="$src/po/$lang.po"
    "$MSGFMT" --check --check-accelerators='&' -o /dev/null "$po" || fail "$lang.po: msgfmt --check"
    # msgcmp counts untranslated and fuzzy entries as missing.
    msgcmp "$po" "$work/fresh.pot" || fail "$lang.po lacks translations of marked texts"
    [ -z "$(msgattrib --only-fuzzy --no-obsolete "$po")" ] || fail "$lang.po has fuzzy entries"
    msgexec -i "$po" sh "$work/breaks.sh" || fail "$lang.po: line breaks"
done

# The install: every catalog under share/locale/<lang>/LC_MESSAGES, readable by gettext's tools.
if [ -n "$cmake" ] && [ -n "$build" ]; then
    DESTDIR="$work/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
    for lang in $(grep -v '^#' "$src/po/LINGUAS"); do
        mo="$work/stage/usr/share/locale/$lang/LC_MESSAGES/vantrell.mo"
        msgunfmt "$mo" >/dev/null 2>&1 || fail "$lang: no installed catalog share/locale/$lang/LC_MESSAGES/vantrell.mo"
    done
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "catalogs: all checks passed"
