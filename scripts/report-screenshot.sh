#!/bin/sh
# Renders the shipped report templates, filled with sample entries, to docs/report.png in headless Chromium.
set -e
cd "$(dirname "$0")/.."
ROOT=$(pwd)
BUILD=${BUILD:-$ROOT/build-report}

if [ ! -x /usr/bin/chromium ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends chromium
fi

[ -f "$BUILD/CMakeCache.txt" ] || cmake -S "$ROOT" -B "$BUILD"
cmake --build "$BUILD" -j2 --target vantrell_sample_report

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
"$BUILD/report/vantrell_sample_report" templates/ReportOutside.htm templates/ReportInside.htm \
    "$WORK/report.htm"

mkdir -p docs
# A throwaway profile, and no network: the page must render from its own text alone.
/usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
    --disable-component-update --disable-sync --no-first-run --hide-scrollbars \
    --user-data-dir="$WORK/profile" --screenshot="$ROOT/docs/report.png" --window-size=1000,700 \
    "file://$WORK/report.htm"
echo "wrote docs/report.png"
