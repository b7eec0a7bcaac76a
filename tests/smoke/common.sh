# Helpers for the smoke tests that drive the real program through X (sourced, not run).
# They work on a bare X server and under a window manager alike.

# The process numbers that started_pids holds are ended when the test ends, whatever happens.
started_pids=""
smoke_cleanup() {
    for p in $started_pids; do kill -9 "$p" 2>/dev/null || true; done
    [ -n "${smoke_dir:-}" ] && rm -rf "$smoke_dir"
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Milliseconds since some fixed moment.
now_ms() {
    echo $(( $(date +%s%N) / 1000000 ))
}

# The visible windows of a process, one id a line (none when it has none yet).
windows_of() {
    xdotool search --all --onlyvisible --pid "$1" --name '.*' 2>/dev/null || true
}

# Waits until the process shows at least the given number of windows; prints the newest.
# Fails after 30 seconds or when the process has ended: a busy machine starts slowly.
wait_windows() {
    pid=$1 count=$2 tries=0
    while :; do
        ids=$(windows_of "$pid")
        n=$(printf '%s' "$ids" | grep -c . || true)
        if [ "$n" -ge "$count" ]; then
            printf '%s\n' "$ids" | tail -n 1
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || fail "process $pid ended before it showed $count window(s)"
        tries=$((tries + 1))
        [ $tries -lt 300 ] || fail "process $pid showed no more than $n window(s)"
        sleep 0.1
    done
}

# Gives a window the keyboard focus, through the window manager when there is one.
focus_window() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    sleep 0.3
}

# The process that owns the window with the keyboard focus (empty when none does).
focused_pid() {
    xdotool getwindowfocus getwindowpid 2>/dev/null || true
}

# Waits for a started process to end, at most the given number of seconds, and sets end_status and
# end_ms (how long it took). Not for a command substitution: only this shell can reap its children.
wait_end() {
    pid=$1 limit=$2 tries=0 start=$(now_ms)
    while [ "$(sed -n 's/^State:\s*\(.\).*/\1/p' "/proc/$pid/status" 2>/dev/null)" ]; do
        # An ended process that is not reaped yet is a zombie.
        [ "$(sed -n 's/^State:\s*\(.\).*/\1/p' "/proc/$pid/status" 2>/dev/null)" = Z ] && break
        tries=$((tries + 1))
        [ $tries -lt $((limit * 50)) ] || fail "process $pid still runs after $limit s"
        sleep 0.02
    done
    end_ms=$(( $(now_ms) - start ))
    end_status=0
    wait "$pid" || end_status=$?
}

# A file's identity and content: it changes with any write, replacement or change of its attributes.
fingerprint() {
    stat -c '%i %s %y %z %a %U' "$1"
    md5sum < "$1"
}

# The title of every visible window of a process, one a line.
titles_of() {
    for id in $(windows_of "$1"); do xdotool getwindowname "$id" 2>/dev/null || true; done
}

# Waits until the process shows a window with exactly this title; prints its id.
wait_title() {
    pid=$1 title=$2 tries=0
    while :; do
        for id in $(windows_of "$pid"); do
            [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$title" ] && { echo "$id"; return 0; }
        done
        tries=$((tries + 1))
        [ $tries -lt 300 ] || fail "no window \"$title\" (shown: $(titles_of "$pid" | tr '\n' '|'))"
        sleep 0.1
    done
}

# Moves the focus on with Tab and presses Space, again and again, until the process shows a window
# with this title; prints its id. The tab order may change with the layout, so nothing counts on
# how many stops lie between; a date dialog met on the way is closed again.
tab_until() {
    pid=$1 title=$2 presses=0
    while [ $presses -lt 20 ]; do
        xdotool key Tab space
        sleep 0.4
        for id in $(windows_of "$pid"); do
            name=$(xdotool getwindowname "$id" 2>/dev/null || true)
            if [ "$name" = "$title" ]; then
                echo "$id"
                return 0
            fi
            if [ "$name" = "Date Selection" ]; then
                xdotool key Escape
                sleep 0.3
            fi
        done
        presses=$((presses + 1))
    done
    fail "no window \"$title\" after $presses Tab presses"
}
