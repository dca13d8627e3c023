#!/bin/sh
# Runs a Windows test program on a screen of another resolution: in a copy of
# the test prefix whose Wine setting (LogPixels) says DPI pixels per inch, so
# that the tests sharing the prefix keep their 96. The tests learn the
# resolution asked for from TALLYGLASS_TEST_DPI and check that it took.
#
# usage: at-dpi.sh BUILD_DIR DPI WINE WINESERVER PROGRAM [ARGUMENTS...]
set -eu
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a "$0" "$@"
build=$1 dpi=$2 wine=$3 wineserver=$4
shift 4

# The shared prefix is copied only once its server has saved the registry and
# gone (see registry-unchanged.sh); the test runs alone, so none starts it again.
WINEPREFIX="$build/wineprefix" "$wineserver" -w
export WINEPREFIX="$build/dpi-$dpi-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
cp -a "$build/wineprefix" "$WINEPREFIX"
trap '"$wineserver" -k 2>/dev/null || true' EXIT

"$wine" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
# Wine reads the setting when its server and desktop start.
"$wineserver" -w

export TALLYGLASS_TEST_DPI="$dpi"
"$wine" "$@"
