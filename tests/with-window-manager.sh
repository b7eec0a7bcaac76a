#!/bin/sh
# Runs a command under the openbox window manager in the current X display (the one xvfb-run made),
# as a desktop session would: openbox starts, the command runs once openbox manages the screen, and
# openbox is stopped afterwards. The command's exit status is this script's.
set -u
if ! command -v openbox >/dev/null 2>&1; then
    echo "openbox is missing: run scripts/deps.sh" >&2
    exit 1
fi

ready=$(mktemp -d "${TMPDIR:-/tmp}/vantrell-wm.XXXXXX") || exit 1
# The distribution's configuration, not the user's own, so every run meets the same key bindings.
config=""
[ -f /etc/xdg/openbox/rc.xml ] && config="--config-file /etc/xdg/openbox/rc.xml"
# openbox runs its start-up command once it has taken over the screen.
# shellcheck disable=SC2086
openbox --sm-disable $config --startup "touch $ready/up" &
wm=$!

tries=0
while [ ! -e "$ready/up" ]; do
    if ! kill -0 "$wm" 2>/dev/null || [ "$tries" -ge 1000 ]; then
        echo "openbox did not start on display ${DISPLAY:-unset}" >&2
        kill "$wm" 2>/dev/null
        rm -rf "$ready"
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.01
done
rm -rf "$ready"

"$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit "$status"
