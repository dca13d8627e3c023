#!/bin/sh
# The release package as people get it. Makes it as the `package` target does,
# unpacks it and checks what it holds: exactly the files the build lists, every
# program stripped of symbols and debug data, the viewer at most 1.2 MB. Then, in
# a copy of the test prefix holding the demo UserAssist area, runs the viewer
# from the unpacked folder until its list is filled, closes it and expects its
# exit code 0.
#
# usage: unpacked-program-runs.sh BUILD_DIR CPACK OBJDUMP PROBE DEMO_DATA WINE WINESERVER
set -eu
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a "$0" "$@"
build=$1 cpack=$2 objdump=$3 probe=$4 demo_data=$5 wine=$6 wineserver=$7
# 1.2 MB, counted the stricter, decimal way. It was 1 MB until the viewer learnt
# to open hives and exports: the hive reader, log replay and .reg parser came
# to about 320 KB (737,792 bytes before, 1,057,280 after).
max_size=1200000

work=$build/package-check
rm -rf "$work"
mkdir -p "$work/unpacked"
"$cpack" --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
zip=$(ls "$work"/tallyglass-*-win64.zip)
(cd "$work/unpacked" && cmake -E tar xf "$zip")
folder=$work/unpacked/$(basename "$zip" .zip)
echo "$(basename "$zip"): $(stat -c %s "$zip") bytes"

status=0
ls "$folder" | sort >"$work/held.txt"
if ! cmp -s "$build/package/contents.txt" "$work/held.txt"; then
  echo "The zip holds $(tr '\n' ' ' <"$work/held.txt")instead of $(tr '\n' ' ' <"$build/package/contents.txt")"
  status=1
fi
for program in "$folder"/*.exe; do
  echo "$(basename "$program"): $(stat -c %s "$program") bytes"
  if "$objdump" -f "$program" | grep -Eq 'HAS_SYMS|HAS_DEBUG'; then
    echo "$(basename "$program") is not stripped"
    status=1
  fi
done
if [ "$(stat -c %s "$folder/tallyglass.exe")" -gt "$max_size" ]; then
  echo "tallyglass.exe is larger than $max_size bytes"
  status=1
fi

. "$(dirname "$0")/../support/test-prefix-copy.sh"
copy_test_prefix "$build" package-check-prefix "$wineserver"
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT
"$wine" "$demo_data" --write-current-user >/dev/null
"$wine" "$folder/tallyglass.exe" &
viewer=$!
"$wine" "$probe" wait-rows 60 || status=1
"$wine" "$probe" close 30 || status=1
code=0
wait $viewer || code=$?
echo "tallyglass.exe from the package ended with exit code $code"
[ "$code" -eq 0 ] || status=1
exit $status
