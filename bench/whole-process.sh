#!/bin/sh
# The tool as a person starts it: a fresh process in a folder holding the log, until its window is
# mapped; until it has answered a first key (Esc pressed as soon as the window maps, until the process
# has ended: the toolkit maps the window before the log is read into it, so the map alone says little);
# Esc once the log is in, until the process has ended; and the peak memory with the log open. Each
# figure is the median of REPS runs, for an empty log and for 100,000 entries, beside the floor: a
# plain program that reads the same file and splits it into rows of three texts.
# Usage: whole-process.sh <build folder> [reps]   (inside an X server; starts openbox when it is there)
set -eu
build=$(cd "$1" && pwd)
reps=${2:-5}
exe=$build/app/vantrell
rows=100000
here=$(cd "$(dirname "$0")/.." && pwd)

work=$(mktemp -d)
wm=""
cleanup() {
    [ -z "$wm" ] || kill "$wm" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A desktop has a window manager; it is what maps the window and gives it the focus for Esc.
if command -v openbox >/dev/null 2>&1; then
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    tries=0
    until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
        tries=$((tries + 1)); [ $tries -lt 200 ] || break
        sleep 0.02
    done
fi

for size in 0 $rows; do
    mkdir "$work/log$size"
    cp "$here/templates/"*.htm "$work/log$size/"
    [ "$size" -eq 0 ] || "$build/bench/vantrell_make_log" "$size" "$work/log$size/kvl.dat"
done

now() { date +%s%N; }

median() {  # of the numbers in a file, one a line
    sort -n "$1" | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# One run: start, mapped, (the log read in,) peak memory, Esc, ended. Appends milliseconds and kB to
# the size's files; with "at-once" Esc goes as soon as the window maps and the whole run is timed.
run_once() {
    size=$1 mode=${2:-settled}
    dir=$work/log$size
    cp "$dir/kvl.dat" "$work/kvl.start" 2>/dev/null || rm -f "$work/kvl.start"
    t0=$(now)
    (cd "$dir" && exec "$exe") &
    pid=$!
    wid=""
    while [ -z "$wid" ]; do
        wid=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
        kill -0 "$pid" 2>/dev/null || { echo "vantrell ended before its window showed" >&2; exit 1; }
        [ -n "$wid" ] || sleep 0.005
    done
    t1=$(now)
    if [ "$mode" = settled ]; then
        # Long enough for the log to be read in and the list painted.
        sleep 2
        sed -n 's/^VmHWM:\s*\([0-9]*\) kB/\1/p' "/proc/$pid/status" >> "$work/mem$size"
    fi
    xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || xdotool windowfocus --sync "$wid"
    t2=$(now)
    xdotool key Escape
    wait "$pid"
    t3=$(now)
    if [ "$mode" = settled ]; then
        echo $(( (t1 - t0) / 1000000 )) >> "$work/start$size"
        echo $(( (t3 - t2) / 1000000 )) >> "$work/close$size"
    else
        echo $(( (t3 - t0) / 1000000 )) >> "$work/answer$size"
    fi
    # The next run opens the same log.
    if [ -e "$work/kvl.start" ]; then mv "$work/kvl.start" "$dir/kvl.dat"; else rm -f "$dir/kvl.dat"; fi
    rm -f "$dir/kvl.dat.bak" "$dir"/kvl.dat.unread-*
}

i=0
while [ $i -lt "$reps" ]; do
    for size in 0 $rows; do run_once $size; run_once $size at-once; done
    i=$((i + 1))
done

# The floor, read warm as the tool reads it here, and cold where the page cache may be dropped.
floor_file=$work/log$rows/kvl.dat
: > "$work/floor"
i=0
while [ $i -lt "$reps" ]; do
    t0=$(now)
    floor_kb=$("$build/bench/vantrell_read_floor" "$floor_file" | awk '{ print $2 }')
    t1=$(now)
    echo $(( (t1 - t0) / 1000000 )) >> "$work/floor"
    i=$((i + 1))
done
floor_ms=$(median "$work/floor")
floor_cold=""
if (sync && echo 3 > /proc/sys/vm/drop_caches) 2>/dev/null; then
    t0=$(now)
    "$build/bench/vantrell_read_floor" "$floor_file" >/dev/null
    t1=$(now)
    floor_cold=" (cold: $(( (t1 - t0) / 1000000 )) ms)"
fi

start0=$(median "$work/start0"); startN=$(median "$work/start$rows")
answer0=$(median "$work/answer0"); answerN=$(median "$work/answer$rows")
close0=$(median "$work/close0"); closeN=$(median "$work/close$rows")
mem0=$(median "$work/mem0"); memN=$(median "$work/mem$rows")
echo
echo "Whole process, $rows entries ($(du -k "$floor_file" | cut -f1) kB) over an empty log, medians of $reps runs"
echo "floor: reading and splitting the file, ${floor_ms} ms${floor_cold}, peak $((floor_kb / 1024)) MB"
awk -v s0="$start0" -v sN="$startN" -v a0="$answer0" -v aN="$answerN" -v c0="$close0" -v cN="$closeN" -v m0="$mem0" -v mN="$memN" \
    -v f="$floor_ms" -v fm="$floor_kb" 'BEGIN {
    printf "%-34s %10s %10s %10s %12s\n", "figure", "empty", "100k", "more", "more/floor"
    printf "%-34s %7d ms %7d ms %7d ms %11.1fx\n", "start until the window shows", s0, sN, sN - s0, (sN - s0) / f
    printf "%-34s %7d ms %7d ms %7d ms %11.1fx\n", "start, Esc at once, until ended", a0, aN, aN - a0, (aN - a0) / f
    printf "%-34s %7d ms %7d ms %7d ms %11.1fx\n", "Esc until the process has ended", c0, cN, cN - c0, (cN - c0) / f
    printf "%-34s %7.1f MB %7.1f MB %7.1f MB %11.1fx\n", "peak memory, log open", m0 / 1024, mN / 1024,
           (mN - m0) / 1024, (mN - m0) / fm
}'
