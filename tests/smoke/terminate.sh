#!/bin/sh
# A termination signal, as the desktop sends at logout, closes the tool in order once its log is
# loaded (a stale temporary file of a killed save is gone then). The table was not changed, so
# its save writes nothing: a file with a line the loader passes over stays as it was,
# with no backup and no kept copy. (Saving a changed table on the signal path is tested in the GUI
# program, which can make the change.)
# Usage: terminate.sh <vantrell executable>   (inside an X server)
set -eu
exe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
# A line the loader passes over: a save that rewrote the file would drop it.
printf 'CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\nNOTE=only in the backup\r\n' > kvl.dat

for signal in TERM INT HUP; do
    cp kvl.dat kvl.start
    # What a killed save left: the load removes it, which also shows that the log has been read.
    dead=$(sh -c 'echo $$')
    echo partial > ".kvl.dat.$dead-0.tmp"
    "$exe" &
    pid=$!
    # Wait until the tool has taken over the signal (its handler is set before the window opens).
    tries=0
    until grep -q '^SigCgt:' "/proc/$pid/status" 2>/dev/null &&
          [ $(( 0x$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status") >> 14 & 1 )) -eq 1 ]; do
        tries=$((tries + 1)); [ $tries -lt 200 ] || { echo "no handler for SIGTERM"; kill -9 $pid; exit 1; }
        sleep 0.05
    done
    tries=0
    while [ -e ".kvl.dat.$dead-0.tmp" ]; do
        tries=$((tries + 1)); [ $tries -lt 200 ] || { echo "the stale temporary file was kept"; kill -9 $pid; exit 1; }
        sleep 0.05
    done
    kill -s $signal $pid
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || { echo "SIG$signal: exit status $status"; exit 1; }
    cmp -s kvl.dat kvl.start || { echo "SIG$signal: the unchanged log was rewritten"; exit 1; }
    # The lock file of the one-window rule stays, empty of entries; nothing else may come.
    [ "$(ls -A | grep -v '^\.kvl\.dat\.lock$')" = "$(printf 'kvl.dat\nkvl.start')" ] || { echo "SIG$signal: files were added:"; ls -A; exit 1; }
    rm kvl.start
done
echo "every signal closed the tool and left the unchanged log as it was"
