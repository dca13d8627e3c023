"""The Windows build of tallyglass-report on hive files, under Wine, against
the Linux build on the same files: every field of every row alike but
`source` (a Windows path there), and the same line about a dirty hive's logs.

Environment: as report_checks.py, and TALLYGLASS_WINE_RUN (the build's Wine
wrapper), TALLYGLASS_REPORT_EXE (the Windows tool) and TALLYGLASS_HOST_REPORT
(the Linux tool, from the host build).
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

from report_checks import HIVES, PLAIN_HIVES, SCRATCH, TESTDATA, OldFormatCase, make_evidence_tree, plain_hive

WINE_RUN = os.environ.get("TALLYGLASS_WINE_RUN", "")
REPORT_EXE = os.environ.get("TALLYGLASS_REPORT_EXE", "")
HOST_REPORT = os.environ.get("TALLYGLASS_HOST_REPORT", "")


def windows_path(path):
    """The path as Windows programs under Wine see the Unix root: drive Z:."""
    return "Z:" + str(path).replace("/", "\\")


def rows_and_messages(command, path):
    result = subprocess.run(command, capture_output=True, timeout=120)
    rows = json.loads(result.stdout.decode("utf-8"))
    for row in rows:
        assert row.pop("source") == path, row
    # Each message names the file first; the rest must be the same on both.
    messages = [line.split(path + ": ", 1)[1] for line in result.stderr.decode("utf-8").splitlines()]
    return result.returncode, rows, messages


class WindowsHives(unittest.TestCase):
    def setUp(self):
        if not (TESTDATA / "hives").is_dir():
            self.skipTest("no shared test data")
        if not os.access(HOST_REPORT, os.X_OK) or not PLAIN_HIVES.is_dir():
            self.skipTest(f"no host build of the tool and its decompressed hives at {HOST_REPORT}")

    def compare(self, path, *options):
        windows = rows_and_messages([WINE_RUN, REPORT_EXE, "--hive", windows_path(path), "--format", "json",
                                     *options], windows_path(path))
        linux = rows_and_messages([HOST_REPORT, "--hive", str(path), "--format", "json", *options], str(path))
        self.assertEqual(windows, linux)
        return linux[1]

    def test_each_hive_gives_the_rows_of_the_linux_build(self):
        total = 0
        for folder, name, _ in HIVES:
            with self.subTest(hive=f"{folder}/{name}"):
                total += len(self.compare(plain_hive(folder, name), "--no-logs"))
        self.assertEqual(total, 1193)

    def test_a_dirty_hive_is_brought_up_to_date_from_its_logs(self):
        self.assertEqual(len(self.compare(PLAIN_HIVES / "regipy" / "transactions_NTUSER.DAT")), 25)
        # Names beyond the ANSI code page, for the folder and the logs found in it.
        with tempfile.TemporaryDirectory() as scratch:
            folder = Path(scratch) / "\u05ea\u05d9\u05e7 Z\u00fcrich"
            folder.mkdir()
            for name in ("transactions_NTUSER.DAT", "transactions_ntuser.dat.log1", "transactions_ntuser.dat.log2"):
                shutil.copy(PLAIN_HIVES / "regipy" / name, folder / name.replace("transactions", "\u00e9t\u00e9"))
            self.assertEqual(len(self.compare(folder / "\u00e9t\u00e9_NTUSER.DAT")), 25)

    def test_an_old_format_log_is_applied_alike(self):
        made = OldFormatCase()
        with tempfile.TemporaryDirectory() as scratch:
            (Path(scratch) / "NTUSER.DAT").write_bytes(made.original)
            (Path(scratch) / "NTUSER.DAT.LOG1").write_bytes(made.log)
            self.assertEqual(len(self.compare(Path(scratch) / "NTUSER.DAT")), 92)

    def test_a_tree_is_walked_alike(self):
        root = SCRATCH / "windows-tree"
        # Wine may show a Unix symbolic link as a folder: the tree has none here.
        make_evidence_tree(root, with_link=False)

        def walk(command, prefix):
            result = subprocess.run([*command, "--format", "json", "--jobs", "3"], capture_output=True, timeout=300)
            rows = json.loads(result.stdout.decode("utf-8"))
            for row in rows:  # the source below the tree, "/" between its parts
                row["source"] = row["source"].removeprefix(prefix).replace("\\", "/")
            lines = [line.removeprefix(prefix).replace("\\", "/") for line in result.stderr.decode("utf-8").splitlines()]
            return result.returncode, rows, lines

        linux = walk([HOST_REPORT, "--dir", str(root)], str(root))
        self.assertEqual(walk([WINE_RUN, REPORT_EXE, "--dir", windows_path(root)], windows_path(root)), linux)
        self.assertEqual((linux[0], len(linux[1])), (4, 1196))


if __name__ == "__main__":
    if not (WINE_RUN and REPORT_EXE):
        sys.exit("TALLYGLASS_WINE_RUN and TALLYGLASS_REPORT_EXE name no tools")
    unittest.main(argv=sys.argv[:1], verbosity=2)
