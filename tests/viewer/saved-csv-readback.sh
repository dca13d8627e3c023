#!/bin/sh
# Reads the list that "Save As..." writes back through Python's csv module:
# the viewer test writes the file where TALLYGLASS_SAVED_CSV says, then
# check-saved-csv.py compares every field with what the test listed.
#
# usage: saved-csv-readback.sh WINE_RUN VIEWER_TESTS CHECK_SCRIPT WORK_DIR
set -eu
wine_run=$1 viewer_tests=$2 check=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
TALLYGLASS_SAVED_CSV="Z:$work/UserAssist.csv" "$wine_run" "$viewer_tests" \
  --gtest_filter=ViewerTest.SaveAsWritesEveryListedRowAsUtf8CsvInTheOrderShown
python3 "$check" "$work/UserAssist.csv"
