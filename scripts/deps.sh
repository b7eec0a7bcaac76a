#!/bin/sh
# Installs the Debian packages that building, running and testing Vantrell need, when they are missing.
set -e
# libgtk-3-dev: the few GTK calls of the window layer; openbox and xdotool: the GUI tests run under a
# window manager and drive the real program with the keyboard, as on a desktop.
PACKAGES="cmake make g++ pkg-config libwxgtk3.2-dev libgtk-3-dev libgtest-dev libgmock-dev libbenchmark-dev
          xvfb xauth openbox xdotool xdg-utils desktop-file-utils appstream dpkg-dev file
          dbus at-spi2-core python3-pyatspi"
# The Debian package: its build tools, lintian, and hardening-check (devscripts) for the installed program.
PACKAGES="$PACKAGES debhelper lintian devscripts"
# Catalogs: the gettext tools build them; the toolkit's own texts come translated; the tests run in
# the locales generated below.
PACKAGES="$PACKAGES gettext wx3.2-i18n locales"
[ -n "$VANTRELL_EXTRA_PACKAGES" ] && PACKAGES="$PACKAGES $VANTRELL_EXTRA_PACKAGES"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

# The locales the translation and locale tests run in.
for l in de_DE fr_FR; do
    locale -a 2>/dev/null | grep -qx "$l.utf8" && continue
    echo "Generating the locale $l.UTF-8"
    $SUDO localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
