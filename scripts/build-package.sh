#!/bin/sh
# Builds the Debian package with dpkg-buildpackage from a copy of the source tree, checks it with
# lintian and puts the .deb and lintian's report into the build folder. The source tree stays as it
# was: dpkg-buildpackage writes beside the folder it builds and leaves debian/ droppings in it.
# Usage: build-package.sh BUILD_DIR [JOBS]
set -eu
cd "$(dirname "$0")/.."
mkdir -p "$1"
out=$(cd "$1" && pwd)
jobs=${2:-$(nproc)}

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
work="$out/deb"
copy="$work/vantrell-$version"
rm -rf "$work"
mkdir -p "$copy"

# The files git knows of, or would take in, as they are now; outside git the tree without build output.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard |
        tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null | tar -xf - -C "$copy"
else
    tar --exclude='./build*' --exclude='./run' --exclude='./.git' -cf - . | tar -xf - -C "$copy"
fi

echo "== dpkg-buildpackage -us -uc -b ($copy)"
(cd "$copy" && DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" dpkg-buildpackage -us -uc -b)

changes="$work/vantrell_${version}_${arch}.changes"
deb="vantrell_${version}_${arch}.deb"
echo "== lintian"
# Informational tags are shown too; an error or a warning fails the build.
status=0
lintian --display-info --fail-on error,warning "$changes" >"$out/lintian.log" 2>&1 || status=$?
cat "$out/lintian.log"
[ "$status" -eq 0 ] || { echo "lintian failed (exit status $status): see $out/lintian.log" >&2; exit 1; }

rm -f "$out"/vantrell_*.deb
cp "$work/$deb" "$out/$deb"
rm -rf "$copy"
echo "package: $out/$deb"
