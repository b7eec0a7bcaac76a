#!/bin/sh
# One window per log: a second start on the same kvl.dat, in the same folder or through a link to the
# folder or to the file, brings the running window to the front and ends without touching the file; a
# start that may not ask the running window (another user's) says that the log is open and ends; a
# window that crashed leaves no lock behind. A log in another folder opens beside them.
# Usage: second-start.sh <vantrell executable>   (inside an X server, with or without a window manager)
set -eu
exe=$(readlink -f "$1")
. "$(dirname "$0")/common.sh"
smoke_dir=$(mktemp -d)
trap smoke_cleanup EXIT
mkdir "$smoke_dir/log" "$smoke_dir/other" "$smoke_dir/file-link"
ln -s log "$smoke_dir/folder-link"
ln -s ../log/kvl.dat "$smoke_dir/file-link/kvl.dat"
printf 'CREATOR=KVL 1.0\r\nDESCRIPTION=Kept\r\nOT=1:30\r\nDATE=2005-03-01\r\n' > "$smoke_dir/log/kvl.dat"

# Starts the tool in a folder of the test (optionally through a command that runs it, as setpriv
# does); sets started to its process number.
start_in() {
    folder=$1
    shift
    (cd "$smoke_dir/$folder" && exec "$@" "$exe" 2> "$smoke_dir/err.$folder") &
    started=$!
    started_pids="$started_pids $started"
}

# Waits until the window of the given process has the keyboard focus.
wait_focus() {
    tries=0
    until [ "$(focused_pid)" = "$1" ]; do
        tries=$((tries + 1))
        [ $tries -lt 60 ] || fail "$2: the running window did not come to the front"
        sleep 0.05
    done
}

start_in log
first=$started
wait_title "$first" Vantrell > /dev/null
start_in other
other=$started
other_window=$(wait_title "$other" Vantrell)
before=$(fingerprint "$smoke_dir/log/kvl.dat")

for way in log folder-link file-link; do
    focus_window "$other_window"
    start_in "$way"
    wait_end "$started" 10
    [ "$end_status" -eq 0 ] || { cat "$smoke_dir/err.$way" >&2; fail "$way: the second start ended with status $end_status"; }
    grep -q "process $first" "$smoke_dir/err.$way" || { cat "$smoke_dir/err.$way" >&2; fail "$way: the second start did not find the first"; }
    wait_focus "$first" "$way"
    [ "$(fingerprint "$smoke_dir/log/kvl.dat")" = "$before" ] || fail "$way: the second start touched kvl.dat"
    kill -0 "$first" || fail "$way: the first window has gone"
    echo "$way: the second start raised the first window and ended"
done

# Another user may not signal the first window: the message box says the log is open; Return answers it.
if [ "$(id -u)" -eq 0 ] && command -v setpriv > /dev/null; then
    cp "${XAUTHORITY:-$HOME/.Xauthority}" "$smoke_dir/xauth" 2> /dev/null || : > "$smoke_dir/xauth"
    chmod 0644 "$smoke_dir/xauth"
    chmod 0755 "$smoke_dir"
    start_in folder-link env HOME="$smoke_dir" XAUTHORITY="$smoke_dir/xauth" \
        setpriv --reuid=nobody --regid=nogroup --clear-groups
    box=$(wait_title "$started" "$(basename "$exe")")
    focus_window "$box"
    xdotool key Return
    wait_end "$started" 10
    [ "$end_status" -eq 1 ] || { cat "$smoke_dir/err.folder-link" >&2; fail "another user: exit status $end_status, not 1"; }
    [ "$(fingerprint "$smoke_dir/log/kvl.dat")" = "$before" ] || fail "another user: kvl.dat was touched"
    kill -0 "$first" || fail "another user: the first window has gone"
    echo "another user: told that the log is open"
else
    echo "another user: skipped (needs root and setpriv)"
fi

# A crash leaves no lock: the next start opens its window and holds the log.
kill -9 "$first"
{ wait "$first" || true; } 2> /dev/null
start_in folder-link
third=$started
wait_title "$third" Vantrell > /dev/null
start_in log
wait_end "$started" 10
grep -q "process $third" "$smoke_dir/err.log" || fail "the start after a crash does not hold the log"
[ -s "$smoke_dir/log/.kvl.dat.lock" ] && fail "the lock file is not empty"
kill -s TERM "$third"
wait_end "$third" 5
[ "$end_status" -eq 0 ] || fail "the start after a crash ended with status $end_status"
echo "after a crash: the next start holds the log"

kill -s TERM "$other"
wait_end "$other" 5
[ "$end_status" -eq 0 ] || fail "the window on the other log ended with status $end_status"
echo "one window per log"
