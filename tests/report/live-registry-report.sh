#!/bin/sh
# The Windows build of tallyglass-report on the live registry, against the
# Linux build on a hive file. In a copy of the test prefix, the UserAssist
# area of the hive's export is written into the real current user (names in
# UTF-16, as Windows keeps them): RegOverridePredefKey would map a scratch key
# for its own process only. tallyglass-report.exe then reads the live
# registry, and its rows must be the very rows the host tool reads from the
# hive, keyed by subkey and stored name (Wine lists values sorted by name, so
# the order may differ).
#
# usage: live-registry-report.sh BUILD_DIR REPORT_EXE DEMO_DATA_EXE WINE WINESERVER HOST_REPORT HIVE EXPORT
# Exits 77 (skipped) without the host tool or the hive.
set -eu
build=$1 report=$2 demo_data=$3 wine=$4 wineserver=$5 host_report=$6 hive=$7 export=$8
if [ ! -x "$host_report" ] || [ ! -f "$hive" ]; then
  echo "skipped: needs the host build's tallyglass-report ($host_report) and $hive"
  exit 77
fi

# Copied only once the shared prefix's server has saved the registry and gone.
WINEPREFIX="$build/wineprefix" "$wineserver" -w
export WINEPREFIX="$build/report-live-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
rm -rf "$WINEPREFIX"
cp -a "$build/wineprefix" "$WINEPREFIX"
trap '"$wineserver" -k 2>/dev/null || true' EXIT
out=$WINEPREFIX/report
mkdir -p "$out"

"$wine" "$demo_data" --write-current-user --reg "$export" >/dev/null
"$wine" "$report" --format csv >"$out/live.csv" 2>"$out/live.err"
"$host_report" --hive "$hive" --format csv >"$out/host.csv"
[ ! -s "$out/live.err" ] || { echo "stderr of the live report:"; cat "$out/live.err"; exit 1; }

/usr/bin/python3 - "$out/live.csv" "$out/host.csv" <<'PYTHON'
import csv, sys

def rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        table = list(csv.DictReader(f))
    keyed = {}
    for row in table:
        key = (row["subkey"], row["stored_name"])
        assert key not in keyed, f"{path}: {key} twice"
        source = row.pop("source")
        user = row.pop("user")
        keyed[key] = row
    return keyed, source, user

live, live_source, live_user = rows(sys.argv[1])
host, _, _ = rows(sys.argv[2])
assert live_source == "", f"the live registry is reported with the source {live_source!r}"
assert live_user == "", f"the live registry is reported with the user {live_user!r}"
missing = sorted(set(host) - set(live))
extra = sorted(set(live) - set(host))
different = sorted(k for k in set(live) & set(host) if live[k] != host[k])
for key in missing[:5]:
    print("only in the hive:", key)
for key in extra[:5]:
    print("only in the live registry:", key)
for key in different[:5]:
    print("differs:", key, "\n  live:", live[key], "\n  hive:", host[key])
if missing or extra or different or not live:
    sys.exit(f"{len(live)} live rows, {len(host)} hive rows: {len(missing)} missing, {len(extra)} extra, "
             f"{len(different)} different")
print(f"{len(live)} rows alike, keyed by subkey and stored name")
PYTHON
