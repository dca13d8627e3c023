#!/bin/sh
# Proves that the program writes nothing to the registry. In a copy of the test
# prefix holding the demo UserAssist area, the whole registry is exported, the
# program is started, driven through every filter and closed, and a second
# export must equal the first. Also checks what the demo area promises: every
# date filter lists something and "Show All Entries" lists more.
#
# Wine itself rewrites some keys whenever its server and desktop start (display
# driver dates, time zone, font cache), so one server is kept running for the
# whole check, and a first session settles what Wine records of a new program
# before the first export.
#
# usage: registry-unchanged.sh BUILD_DIR PROGRAM PROBE DEMO_DATA WINE WINESERVER
set -eu
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a "$0" "$@"
build=$1 program=$2 probe=$3 demo_data=$4 wine=$5 wineserver=$6

. "$(dirname "$0")/../support/test-prefix-copy.sh"
copy_test_prefix "$build" registry-check-prefix "$wineserver"
before=$WINEPREFIX/before.reg after=$WINEPREFIX/after.reg filters=$WINEPREFIX/filters.txt

"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT

session() {
  "$wine" "$program" &
  viewer=$!
  "$wine" "$probe" wait-rows 60 >/dev/null
  "$wine" "$probe" drive-filters
  "$wine" "$probe" close 30
  wait $viewer
}

"$wine" "$demo_data" --write-current-user >/dev/null
session >/dev/null
"$wine" regedit /E "$before"
session >"$filters"
"$wine" regedit /E "$after"

status=0
if ! cmp -s "$before" "$after"; then
  echo "The registry changed:"
  diff "$before" "$after" | tr -d '\000' | head -n 40
  status=1
fi

cat "$filters"
all=$(sed -n 's/^Show All Entries: //p' "$filters")
for choice in "Today" "Last 3 Days" "Last 7 Days" "This Month" "This Year"; do
  rows=$(sed -n "s/^$choice: //p" "$filters")
  if [ -z "$rows" ] || [ -z "$all" ] || [ "$rows" -eq 0 ] || [ "$rows" -ge "$all" ]; then
    echo "\"$choice\" lists ${rows:-nothing} of ${all:-no} demo entries: it should list some, and fewer than all"
    status=1
  fi
done
[ "$status" -ne 0 ] || echo "The registry is unchanged."
exit $status
