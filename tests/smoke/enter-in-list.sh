#!/bin/sh
# Enter pressed while the entry list has the focus is the OK command: the tool closes with exit
# status 0 and its table saved. Real keys and clicks through XTest (xdotool).
# Usage: enter-in-list.sh <vantrell executable>   (inside an X server)
set -eu
exe=$(readlink -f "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
printf 'CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\n' > kvl.dat

"$exe" &
pid=$!
window=$(xdotool search --sync --onlyvisible --pid "$pid" --name '^Vantrell$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
# The list fills the window's left part below the form: a third across, two thirds down.
xdotool mousemove --sync $((X + WIDTH / 3)) $((Y + HEIGHT * 2 / 3))
xdotool click 1
sleep 0.5
xdotool key Return

tries=0
while kill -0 "$pid" 2>/dev/null; do
    tries=$((tries + 1))
    [ $tries -lt 100 ] || { echo "Enter in the list did not close the tool"; kill -9 "$pid"; exit 1; }
    sleep 0.1
done
status=0
wait "$pid" || status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
grep -q 'DESCRIPTION=Backup' kvl.dat || { echo "the entry was lost"; exit 1; }
echo "Enter in the list closed the tool with exit status 0"
