"""`tallyglass.exe FILE` under Wine on the 13 real hives and on their .reg
exports, against the host build's tallyglass-report on the same hives: the
window lists the report's rows (File Name, Type, Exec Count, and Focus Count
where the window shows one, compared as multisets, names as text), and its
status bar says what a dirty hive's logs did in the report's words.

The window is read from outside by tallyglass-probe (show-list). A hive is
read with the logs beside it, as both tools do by default; only
transactions_NTUSER.DAT has its logs beside it in the decompressed copies.

Environment: TALLYGLASS_WINE_RUN, TALLYGLASS_VIEWER_EXE, TALLYGLASS_PROBE_EXE,
TALLYGLASS_HOST_REPORT, TALLYGLASS_TESTDATA and TALLYGLASS_PLAIN_HIVES (the
.xz hives decompressed by the host build).
"""
import collections
import json
import os
import subprocess
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "report"))
from report_checks import HIVES, PLAIN_HIVES, TESTDATA, plain_hive  # noqa: E402

# As the window names files: full paths, without "..".
TESTDATA = Path(os.path.abspath(TESTDATA))

WINE_RUN = os.environ.get("TALLYGLASS_WINE_RUN", "")
VIEWER = os.environ.get("TALLYGLASS_VIEWER_EXE", "")
PROBE = os.environ.get("TALLYGLASS_PROBE_EXE", "")
HOST_REPORT = os.environ.get("TALLYGLASS_HOST_REPORT", "")
SHORTCUTS_SUBKEY = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}"


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


FIRST_START = [True]


def window_on(path):
    """Starts the viewer with the file, reads what its window shows, closes it."""
    viewer = subprocess.Popen([WINE_RUN, VIEWER, windows_path(path)])
    # A probe started together with the first program of a run, while Wine
    # sets up its desktop, was seen to wait forever: it starts a little later.
    if FIRST_START.pop() if FIRST_START else False:
        time.sleep(5)
    try:
        shown = subprocess.run([WINE_RUN, PROBE, "show-list", "60"], capture_output=True, timeout=120)
    finally:
        subprocess.run([WINE_RUN, PROBE, "close", "30"], capture_output=True, timeout=60)
        viewer.wait(timeout=60)
    lines = [line.split("\t") for line in shown.stdout.decode("utf-8").splitlines()]
    fields = {line[0]: line[1:] for line in lines if line[0] != "row"}
    return fields["title"][0], fields["status"], [line[1:] for line in lines if line[0] == "row"]


def report_on(path, *options):
    result = subprocess.run([HOST_REPORT, "--hive", str(path), "--format", "json", *options], capture_output=True,
                            timeout=120)
    messages = [line.split(str(path) + ": ", 1)[1] for line in result.stderr.decode("utf-8").splitlines()]
    return json.loads(result.stdout.decode("utf-8")), messages


def listed(rows):
    """The window's rows as compared: name, type, run count, shown focus count."""
    return collections.Counter((row[1], row[2], row[3], row[4]) for row in rows)


def reported(rows):
    """The report's rows as the window would show them."""
    def focus(row):
        shown = row["layout"] == 72 and row["subkey"].upper() != SHORTCUTS_SUBKEY
        return str(row["focus_count"]) if shown else ""
    return collections.Counter((row["file_name"], row["kind"], str(row["run_count"]), focus(row)) for row in rows)


class OpenFile(unittest.TestCase):
    def setUp(self):
        if not (TESTDATA / "hives").is_dir():
            self.skipTest("no shared test data")
        if not os.access(HOST_REPORT, os.X_OK) or not PLAIN_HIVES.is_dir():
            self.skipTest(f"no host build of the report tool and its decompressed hives at {HOST_REPORT}")

    def test_each_hive_lists_the_report_tools_rows(self):
        total = 0
        for folder, name, _ in HIVES:
            hive = Path(os.path.abspath(plain_hive(folder, name)))
            with self.subTest(hive=f"{folder}/{name}"):
                rows, messages = report_on(hive)
                title, status, window_rows = window_on(hive)
                self.assertEqual(title, "Tallyglass Viewer - " + hive.name)
                count = len(rows)
                self.assertEqual(status, [f"{count} entr{'y' if count == 1 else 'ies'}", windows_path(hive),
                                          messages[0] if messages else ""])
                self.assertEqual(listed(window_rows), reported(rows))
                total += len(window_rows)
        self.assertEqual(total, 1196)  # 1193 as the hives are stored, and the dirty hive's logs add 3

    def test_the_dirty_hive_is_listed_as_its_logs_bring_it_up_to_date(self):
        hive = PLAIN_HIVES / "regipy" / "transactions_NTUSER.DAT"
        rows, messages = report_on(hive)
        title, status, window_rows = window_on(hive)
        self.assertEqual(len(window_rows), 25)
        self.assertTrue(status[2].startswith("transaction logs applied: "), status[2])
        self.assertEqual(status[2], messages[0])
        self.assertEqual(listed(window_rows), reported(rows))

    def test_each_export_lists_the_rows_of_its_hive_read_as_stored(self):
        for folder, name, export in HIVES:
            with self.subTest(export=f"{folder}/{export}"):
                rows, _ = report_on(plain_hive(folder, name), "--no-logs")
                title, status, window_rows = window_on(TESTDATA / "hives" / folder / export)
                self.assertEqual(title, "Tallyglass Viewer - " + export)
                self.assertEqual(listed(window_rows), reported(rows))


if __name__ == "__main__":
    if not (WINE_RUN and VIEWER and PROBE):
        sys.exit("TALLYGLASS_WINE_RUN, TALLYGLASS_VIEWER_EXE and TALLYGLASS_PROBE_EXE name no programs")
    unittest.main(argv=sys.argv[:1], verbosity=2)
