#!/bin/sh
# The launcher's options and working folders, with the program replaced by a stand-in that reports
# where and how it was started.
# Usage: check-launcher.sh LAUNCHER VERSION   (LAUNCHER: the configured bin/vantrell)
set -eu
launcher=$1 version=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# The layout of an installation, as the launcher finds it from its own place.
prefix="$tmp/prefix"
mkdir -p "$prefix/bin" "$prefix/lib/vantrell" "$prefix/share/vantrell/templates"
cp "$launcher" "$prefix/bin/vantrell"
chmod +x "$prefix/bin/vantrell"
shipped="$prefix/share/vantrell/templates"
cp "$source_dir/templates/ReportOutside.htm" "$source_dir/templates/ReportInside.htm" "$shipped/"
log="$tmp/started"
cat >"$prefix/lib/vantrell/vantrell" <<STUB
#!/bin/sh
{ pwd; printf '%s\n' "\$#" "\$@"; } >"$log"
STUB
chmod +x "$prefix/lib/vantrell/vantrell"
home="$tmp/home of user"
work="$tmp/work"
mkdir -p "$home" "$work"

# Runs the launcher from $work with HOME=$home; its status, output and error output land in $tmp.
run() {
    rm -f "$log"
    status=0
    (cd "$work" && HOME="$home" "$prefix/bin/vantrell" "$@") >"$tmp/out" 2>"$tmp/err" || status=$?
}
# Nothing may start, and no file may appear, for the options that only print.
untouched() {
    [ ! -e "$log" ] || fail "$1: the program was started"
    [ -z "$(ls -A "$work")" ] || fail "$1: created $(ls -A "$work") in the current directory"
    [ -z "$(ls -A "$home")" ] || fail "$1: created $(ls -A "$home") in HOME"
}

run --version
[ "$status" -eq 0 ] || fail "--version: exit status $status"
[ "$(cat "$tmp/out")" = "Vantrell $version" ] || fail "--version printed: $(cat "$tmp/out")"
[ ! -s "$tmp/err" ] || fail "--version wrote an error: $(cat "$tmp/err")"
untouched --version

run --help
[ "$status" -eq 0 ] || fail "--help: exit status $status"
head -n 1 "$tmp/out" | grep -q '^Usage: vantrell ' || fail "--help does not begin with the usage line"
# The working folder rule, the files and F1.
for word in 'current directory' '~/Vantrell' kvl.dat kvl.dat.bak ReportOutside.htm ReportInside.htm \
            report.htm F1; do
    grep -qF -- "$word" "$tmp/out" || fail "--help does not mention $word"
done
[ ! -s "$tmp/err" ] || fail "--help wrote an error: $(cat "$tmp/err")"
untouched --help

# Anything else is refused with the usage line and status 2, before the program or a folder is made.
for args in "--display :9" "-h" "--Version" "--desktop --help" "--version --help" "kvl.dat" "" "--" \
            "--desktop=x" "-"; do
    # shellcheck disable=SC2086
    if [ -z "$args" ]; then run ""; else run $args; fi
    [ "$status" -eq 2 ] || fail "'$args': exit status $status, not 2"
    grep -q '^Usage: vantrell ' "$tmp/err" || fail "'$args': no usage line on the error output"
    [ ! -s "$tmp/out" ] || fail "'$args': wrote to the standard output"
    untouched "'$args'"
done

# From a terminal: the current directory, nothing created elsewhere; also through a link.
mkdir -p "$tmp/links"
ln -s "$prefix/bin/vantrell" "$tmp/links/vantrell"
rm -f "$log"
(cd "$work" && HOME="$home" "$tmp/links/vantrell") || fail "terminal start: the launcher failed"
[ "$(sed -n 1p "$log" 2>/dev/null)" = "$work" ] || fail "terminal start: not in the current directory"
[ "$(sed -n 2p "$log" 2>/dev/null)" = 0 ] || fail "terminal start: the program was given arguments"
[ ! -e "$home/Vantrell" ] || fail "terminal start created ~/Vantrell"
[ -z "$(ls -A "$work")" ] || fail "terminal start wrote into the current directory"

# --desktop: ~/Vantrell, created and seeded; the option does not reach the program.
run --desktop
[ "$status" -eq 0 ] || fail "--desktop: exit status $status"
[ "$(sed -n 1p "$log" 2>/dev/null)" = "$home/Vantrell" ] || fail "--desktop: not started in ~/Vantrell"
[ "$(sed -n 2p "$log" 2>/dev/null)" = 0 ] || fail "--desktop: the option reached the program"
for t in ReportOutside.htm ReportInside.htm; do
    cmp -s "$shipped/$t" "$home/Vantrell/$t" || fail "--desktop: $t not seeded"
done

# A second start keeps the user's edits and puts back only what is missing.
echo "my own page" >"$home/Vantrell/ReportOutside.htm"
rm "$home/Vantrell/ReportInside.htm"
run --desktop
[ "$status" -eq 0 ] || fail "--desktop again: exit status $status"
[ "$(cat "$home/Vantrell/ReportOutside.htm")" = "my own page" ] || fail "--desktop overwrote a user's template"
cmp -s "$shipped/ReportInside.htm" "$home/Vantrell/ReportInside.htm" ||
    fail "--desktop: missing template not put back"

rm -f "$log"
if (unset HOME; "$prefix/bin/vantrell" --desktop) 2>/dev/null; then
    fail "--desktop without HOME succeeded"
fi
[ ! -e "$log" ] || fail "--desktop without HOME started the program"

[ "$failures" -eq 0 ] || { echo "$failures launcher check(s) failed" >&2; exit 1; }
echo "launcher options and working folders: ok"
