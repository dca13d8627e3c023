#!/bin/sh
# Reads the list that "Save As..." writes back through Python's csv module:
# the viewer tests write the files where TALLYGLASS_SAVED_CSV and
# TALLYGLASS_SAVED_HEBREW_CSV say (a list from the registry, and one from a
# user's export with a Hebrew name), then check-saved-csv.py compares them
# with what the tests listed.
#
# usage: saved-csv-readback.sh WINE_RUN VIEWER_TESTS CHECK_SCRIPT WORK_DIR
set -eu
wine_run=$1 viewer_tests=$2 check=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
TALLYGLASS_SAVED_CSV="Z:$work/UserAssist.csv" "$wine_run" "$viewer_tests" \
  --gtest_filter=ViewerTest.SaveAsWritesEveryListedRowAsUtf8CsvInTheOrderShown
TALLYGLASS_SAVED_HEBREW_CSV="Z:$work/Hebrew.csv" "$wine_run" "$viewer_tests" \
  --gtest_filter=FileViewerTest.NewColumnsSortCopyAndSaveAHebrewName
python3 "$check" "$work/UserAssist.csv"
python3 "$check" --hebrew "$work/Hebrew.csv"
