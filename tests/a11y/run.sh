#!/bin/sh
# Runs the real program on a small log with the accessibility bus up, and has the screen reader's
# view of its window checked (list-rows.py). Called inside a virtual X server: run.sh <vantrell>.
set -eu
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
# The toolkit's accessibility bridge must load for this test.
unset NO_AT_BRIDGE
export GTK_A11Y=atk

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"
/usr/bin/python3 "$here/list-rows.py" --write-log

exec dbus-run-session -- sh -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    "$1" &
    tool=$!
    status=0
    /usr/bin/python3 "$2" "$tool" || status=$?
    kill "$tool" 2>/dev/null || true
    wait "$tool" 2>/dev/null || true
    kill "$launcher" 2>/dev/null || true
    exit $status
' sh "$program" "$here/list-rows.py"
