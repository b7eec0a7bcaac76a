#!/bin/sh
# Checks a built Debian package: its dependencies and contents, then on this system: it installs, its
# program carries the hardening flags, it starts under Xvfb as root and as an ordinary user, and its
# removal leaves nothing behind.
# Usage: check-package.sh vantrell_VERSION_ARCH.deb   (as root or with sudo; vantrell not installed)
set -eu
deb=$(readlink -f "$1")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

depends=$(dpkg-deb -f "$deb" Depends)
# Without these the window cannot start, or the report and the help page cannot reach the browser.
for dep in libwxgtk3.2-1 libwxbase3.2-1 libstdc++6 xdg-utils; do
    printf '%s\n' "$depends" | tr ',' '\n' | grep -q "^ *$dep\( \|$\)" || fail "Depends lacks $dep: $depends"
done

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|')
for f in /usr/bin/vantrell /usr/lib/vantrell/vantrell /usr/lib/vantrell/vantrell.HLP \
         /usr/share/vantrell/templates/ReportOutside.htm /usr/share/vantrell/templates/ReportInside.htm \
         /usr/share/man/man1/vantrell.1.gz /usr/share/icons/hicolor/scalable/apps/vantrell.svg \
         /usr/share/doc/vantrell/copyright /usr/share/doc/vantrell/changelog.gz \
         /usr/share/locale/de/LC_MESSAGES/vantrell.mo /usr/share/locale/fr/LC_MESSAGES/vantrell.mo \
         /usr/lib/vantrell/vantrell.de.HLP; do
    printf '%s\n' "$files" | grep -qx "$f" || fail "$f not in the package"
done
printf '%s\n' "$files" | grep -q '^/usr/share/applications/.*\.desktop$' || fail "no desktop entry in the package"
printf '%s\n' "$files" | grep -q '^/usr/share/metainfo/.*\.metainfo\.xml$' || fail "no metainfo in the package"
outside=$(printf '%s\n' "$files" | grep -v '^/$' | grep -v '^/usr/\?$' | grep -v '^/usr/' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
[ "$failures" -eq 0 ] || { echo "$failures package check(s) failed" >&2; exit 1; }
echo "package $deb: dependencies and contents ok"

# From here on the package is installed on this system, and removed again however the checks end.
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "FAIL: installing the package needs root or sudo" >&2; exit 1; }
    SUDO=sudo
fi
if dpkg-query -W -f='${Status}' vantrell 2>/dev/null | grep -q 'installed'; then
    echo "FAIL: vantrell is installed on this system already; remove it (apt remove vantrell) first" >&2
    exit 1
fi
tmp=$(mktemp -d)
chmod 755 "$tmp"
installed=no
cleanup() {
    [ "$installed" = no ] || $SUDO dpkg --purge vantrell >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT

echo "== installing"
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$deb" >"$tmp/apt.log" 2>&1 ||
    { cat "$tmp/apt.log" >&2; echo "FAIL: the package does not install" >&2; exit 1; }
installed=yes
[ "$(command -v vantrell)" = /usr/bin/vantrell ] || fail "vantrell is not the installed command"
version=$(dpkg-deb -f "$deb" Version)
[ "$(vantrell --version)" = "Vantrell $version" ] || fail "vantrell --version printed: $(vantrell --version)"

# Control-flow protection (CET) marks a program only when every object linked into it is marked; the C
# library's start files of Debian 12 are not, so there no program passes that test (not even /bin/ls).
cet=""
scrt1=/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/Scrt1.o
if [ "$(dpkg --print-architecture)" = amd64 ] && ! readelf -n "$scrt1" 2>/dev/null | grep -q 'IBT'; then
    cet=--nocfprotection
fi
echo "== hardening-check $cet /usr/lib/vantrell/vantrell"
hardening-check $cet /usr/lib/vantrell/vantrell || fail "hardening-check rejects the installed program"

# Starts the installed tool (the arguments: the command and its option) under Xvfb in the current
# directory, waits until it has taken over SIGTERM, which it does before its window opens, lets the
# window come up, then ends it with SIGTERM, as a desktop session does at logout.
cat >"$tmp/start.sh" <<'START'
#!/bin/sh
"$@" 2>start.err &
pid=$!
tries=0
until [ -r "/proc/$pid/status" ] && [ "$(readlink "/proc/$pid/exe")" = /usr/lib/vantrell/vantrell ] &&
      [ $(( 0x$(sed -n 's/^SigCgt:\s*//p' "/proc/$pid/status") >> 14 & 1 )) -eq 1 ]; do
    tries=$((tries + 1))
    if [ $tries -ge 400 ] || ! kill -0 $pid 2>/dev/null; then
        echo "the tool did not start"; cat start.err; kill -9 $pid 2>/dev/null; exit 1
    fi
    sleep 0.05
done
sleep 1
kill -0 $pid 2>/dev/null || { echo "the tool ended by itself"; cat start.err; exit 1; }
kill -TERM $pid
status=0
wait $pid || status=$?
[ $status -eq 0 ] || { echo "exit status $status after SIGTERM"; cat start.err; exit 1; }
START
chmod 755 "$tmp/start.sh"

echo "== starting it under Xvfb"
# As root, from the desktop's menu: ~/Vantrell is made and seeded.
mkdir -p "$tmp/root-home"
(cd "$tmp" && HOME="$tmp/root-home" NO_AT_BRIDGE=1 xvfb-run -a -s '-screen 0 1280x1024x24' \
    ./start.sh vantrell --desktop) && echo "started with --desktop as root and ended by SIGTERM" ||
    fail "the installed tool does not start with --desktop as root"
for t in ReportOutside.htm ReportInside.htm; do
    cmp -s "/usr/share/vantrell/templates/$t" "$tmp/root-home/Vantrell/$t" || fail "--desktop: $t not seeded"
done
# As an ordinary user, from a terminal in a folder of its own.
if [ "$(id -u)" -eq 0 ]; then
    mkdir -p "$tmp/user"
    cp "$tmp/start.sh" "$tmp/user/"
    chown -R nobody:nogroup "$tmp/user"
    (cd "$tmp/user" && setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env HOME="$tmp/user" NO_AT_BRIDGE=1 xvfb-run -a -s '-screen 0 1280x1024x24' ./start.sh vantrell) &&
        echo "started from a terminal as nobody and ended by SIGTERM" ||
        fail "the installed tool does not start for an ordinary user"
    [ ! -e "$tmp/user/Vantrell" ] || fail "a start from a terminal made ~/Vantrell"
fi

echo "== removing"
$SUDO dpkg --purge vantrell >"$tmp/dpkg.log" 2>&1 || { cat "$tmp/dpkg.log" >&2; fail "dpkg --purge failed"; }
installed=no
! dpkg-query -W -f='${Status}' vantrell 2>/dev/null | grep -q installed || fail "vantrell is still installed"
# Every file and every folder of the package's own is gone; shared folders such as /usr/bin stay.
for f in $(printf '%s\n' "$files" | grep -v '/$'); do
    [ ! -e "$f" ] && [ ! -L "$f" ] || fail "$f is left after the removal"
done
for d in /usr/lib/vantrell /usr/share/vantrell /usr/share/doc/vantrell; do
    [ ! -e "$d" ] || fail "$d is left after the removal"
done

[ "$failures" -eq 0 ] || { echo "$failures package check(s) failed" >&2; exit 1; }
echo "package $deb: installs, is hardened, starts under Xvfb and is removed without a trace"
