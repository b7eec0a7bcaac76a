#!/bin/sh
# A termination signal while a dialog, a message box or the window menu is up: each of them ends,
# innermost first, the window's destruction step runs and the process ends at once with status 0, the
# log intact. When the save on that path fails, the failure goes to standard error and the process
# still ends (status 1). The nested windows are opened with real keys and clicks.
# Usage: signal-dialogs.sh <vantrell executable>   (inside an X server, with or without a window manager)
set -eu
exe=$(readlink -f "$1")
. "$(dirname "$0")/common.sh"
smoke_dir=$(mktemp -d)
trap smoke_cleanup EXIT
cd "$smoke_dir"

kept='DESCRIPTION=Kept\r\nOT=1:30\r\nDATE=2005-03-01\r\n'

start_tool() {
    "$exe" 2>err.txt &
    pid=$!
    started_pids="$started_pids $pid"
    main=$(wait_title "$pid" Vantrell)
    focus_window "$main"
}

# Sends the signal and checks that the process ended in the orderly way.
end_with_signal() {
    what=$1 expected=$2
    kill -s TERM "$pid"
    wait_end "$pid" 5
    echo "$what: ended in $end_ms ms with status $end_status"
    [ "$end_status" -eq "$expected" ] || { cat err.txt >&2; fail "$what: exit status $end_status, not $expected"; }
    if grep -q 'did not close in time' err.txt; then fail "$what: the watchdog ended the process"; fi
}

open_date() {
    tab_until "$pid" "Date Selection" > /dev/null
}

open_about() {
    # A right-click on the window's free area opens the window menu; About is its last item.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 4)) $((Y + 4)) click 3
    sleep 0.5
    xdotool key Up Return
    wait_title "$pid" "About Vantrell" > /dev/null
}

open_message() {
    # Report is last in the tab order; its question ("view it?") is the application's message box.
    xdotool key shift+Tab space
    wait_title "$pid" "$(basename "$exe")" > /dev/null
}

open_menu() {
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + 4)) $((Y + 4)) click 3
    wait_windows "$pid" 2 > /dev/null
}

for what in date about message menu; do
    printf "CREATOR=KVL 1.0\r\n$kept" > kvl.dat
    start_tool
    "open_$what"
    end_with_signal "$what" 0
    grep -q 'DESCRIPTION=Kept' kvl.dat || fail "$what: the entry was lost"
    rm -f kvl.dat.bak report.htm
done

# A data file that may not be written: the tool starts on an empty log, an entry is added (its save
# fails and says so in a message box), and the signal comes while that box is up.
: > kvl.dat
chmod 0444 kvl.dat
before=$(fingerprint kvl.dat)
start_tool
tab_until "$pid" Error > /dev/null                      # Add on an empty form: "Name Blank."
xdotool key Return
sleep 0.3
xdotool key shift+Tab ctrl+a
xdotool type --delay 20 "Added before the signal"
xdotool key Tab space                                  # Add: the save fails
wait_title "$pid" "Error Writing File" > /dev/null
end_with_signal "read-only" 1
grep -q 'could not be saved' err.txt || { cat err.txt >&2; fail "read-only: the failed save is not on standard error"; }
[ "$(fingerprint kvl.dat)" = "$before" ] || fail "read-only: kvl.dat changed"
echo "every nested window ended with the signal"
