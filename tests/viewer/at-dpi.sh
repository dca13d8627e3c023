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

. "$(dirname "$0")/../support/test-prefix-copy.sh"
copy_test_prefix "$build" "dpi-$dpi-prefix" "$wineserver"
trap '"$wineserver" -k 2>/dev/null || true' EXIT

"$wine" reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
# Wine reads the setting when its server and desktop start.
"$wineserver" -w

export TALLYGLASS_TEST_DPI="$dpi"
"$wine" "$@"
