#!/bin/sh
# A termination signal, as the desktop sends at logout, closes the tool with its table saved.
# Usage: terminate.sh <vantrell executable>   (inside an X server)
set -eu
exe=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir"
# A line the loader passes over: a save rewrites the file without it, and the backup keeps it.
printf 'CREATOR=KVL 1.0\r\nDESCRIPTION=Backup\r\nOT=1:30\r\nDATE=2005-03-01\r\nNOTE=only in the backup\r\n' > kvl.dat

for signal in TERM INT HUP; do
    cp kvl.dat kvl.start
    "$exe" &
    pid=$!
    # Wait until the tool has taken over the signal (its handler is set before the window opens).
    tries=0
    until grep -q '^SigCgt:' "/proc/$pid/status" 2>/dev/null &&
          [ $(( 0x$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status") >> 14 & 1 )) -eq 1 ]; do
        tries=$((tries + 1)); [ $tries -lt 200 ] || { echo "no handler for SIGTERM"; kill -9 $pid; exit 1; }
        sleep 0.05
    done
    kill -s $signal $pid
    status=0
    wait $pid || status=$?
    [ $status -eq 0 ] || { echo "SIG$signal: exit status $status"; exit 1; }
    if grep -q NOTE kvl.dat; then echo "SIG$signal: the table was not saved"; exit 1; fi
    grep -q 'DESCRIPTION=Backup' kvl.dat || { echo "SIG$signal: the entry was lost"; exit 1; }
    grep -q NOTE kvl.dat.bak || { echo "SIG$signal: no backup of the former file"; exit 1; }
    mv kvl.start kvl.dat
    rm -f kvl.dat.bak
done
echo "every signal saved the table"
