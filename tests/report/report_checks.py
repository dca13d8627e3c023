"""tallyglass-report against a second registry library and real parsers.

The 13 real hives are read twice: by the tool (through its own hive reader
and the viewer's reader) and here through hivex, a library that shares no code
with it. The tool's CSV and JSON are read back with Python's own csv and json.
The dirty hives' transaction logs are replayed by the tool and checked against
the facts of the shared data's LOGS.md.

The decompressed hives sit beside their decompressed logs, so a run on
regipy/transactions_NTUSER.DAT there sees its logs unless it says --no-logs.

Environment: TALLYGLASS_REPORT (the tool), TALLYGLASS_TESTDATA (the shared
test data), TALLYGLASS_PLAIN_HIVES (the .xz hives decompressed), and
TALLYGLASS_SCRATCH (a folder for the files made here).
"""
import codecs
import csv
import hashlib
import io
import json
import os
import shutil
import struct
import subprocess
import sys
import unittest
from datetime import datetime, timedelta, timezone
from pathlib import Path

import hivex

TOOL = os.environ.get("TALLYGLASS_REPORT", "")
TESTDATA = Path(os.environ.get("TALLYGLASS_TESTDATA", "/nonexistent"))
PLAIN_HIVES = Path(os.environ.get("TALLYGLASS_PLAIN_HIVES", "/nonexistent"))
SCRATCH = Path(os.environ.get("TALLYGLASS_SCRATCH", "/tmp"))

FIELDS = ["source", "subkey", "layout", "stored_name", "file_name", "kind",
          "run_count", "focus_count", "focus_time_ms", "last_run",
          "seeded_by_windows", "paired_with", "counter_resets", "note", "user"]

# (folder, hive as stored, its export): the 13 hives of the shared test data.
HIVES = [
    ("plaso", "NTUSER.DAT", "NTUSER.DAT.UserAssist.reg"),
    ("plaso", "NTUSER-WIN7.DAT", "NTUSER-WIN7.DAT.UserAssist.reg"),
    ("plaso", "NTUSER-CCLEANER.DAT", "NTUSER-CCLEANER.DAT.UserAssist.reg"),
    ("dfwinreg", "NTUSER.DAT", "NTUSER.DAT.UserAssist.reg"),
    ("notatin", "NTUSER.DAT", "NTUSER.DAT.UserAssist.reg"),
    ("notatin", "win7_ntuser.dat", "win7_ntuser.dat.UserAssist.reg"),
    ("regipy", "NTUSER.DAT.xz", "NTUSER.DAT.UserAssist.reg"),
    ("regipy", "NTUSER-WSL.DAT.xz", "NTUSER-WSL.DAT.UserAssist.reg"),
    ("regipy", "NTUSER_BAGMRU.DAT.xz", "NTUSER_BAGMRU.DAT.UserAssist.reg"),
    ("regipy", "NTUSER_modified.DAT.xz", "NTUSER_modified.DAT.UserAssist.reg"),
    ("regipy", "NTUSER_with_winscp.DAT.xz", "NTUSER_with_winscp.DAT.UserAssist.reg"),
    ("regipy", "transactions_NTUSER.DAT.xz", "transactions_NTUSER.DAT.UserAssist.reg"),
    ("regipy", "ntuser_software_partial.xz", "ntuser_software_partial.UserAssist.reg"),
]
# REPORT.md: these three were not closed cleanly (sequence numbers differ).
DIRTY = {"NTUSER_BAGMRU.DAT", "NTUSER_with_winscp.DAT", "transactions_NTUSER.DAT"}
DIRTY_WARNING = ("warning: the hive was not closed cleanly; changes Windows kept only in its transaction logs may be "
                 "missing")
USERASSIST = ["Microsoft", "Windows", "CurrentVersion", "Explorer", "UserAssist"]
REG_DWORD = 4


def plain_hive(folder, name):
    if name.endswith(".xz"):
        return PLAIN_HIVES / folder / name[:-3]
    return TESTDATA / "hives" / folder / name


def run_tool(*arguments):
    result = subprocess.run([TOOL, *arguments], capture_output=True, timeout=60)
    return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")


def report(*arguments):
    code, out, err = run_tool(*arguments, "--format", "json")
    return code, json.loads(out), err


def utc_text(filetime):
    """The FILETIME as the tool writes it, milliseconds cut; None for no time."""
    if filetime == 0 or filetime >= 1 << 63:
        return None
    moment = datetime(1601, 1, 1, tzinfo=timezone.utc) + timedelta(microseconds=filetime // 10)
    return moment.strftime("%Y-%m-%dT%H:%M:%S.") + "%03dZ" % (filetime // 10_000 % 1000)


def hivex_values(path):
    """Every UserAssist value of a hive, read with hivex: (subkey, current layout, stored name, data)."""
    h = hivex.Hivex(str(path))
    node = h.root()
    software = h.node_get_child(node, "Software")
    # A hive of the Software subtree alone has Microsoft\... at its root.
    node = software if software else node
    for name in USERASSIST:
        node = h.node_get_child(node, name)
        if not node:
            return
    for guid in h.node_children(node):
        versions = [v for v in h.node_values(guid) if h.value_key(v).lower() == "version"]
        current = (len(versions) == 1 and h.value_type(versions[0]) == (REG_DWORD, 4)
                   and h.value_dword(versions[0]) == 5)
        count = h.node_get_child(guid, "Count")
        for value in h.node_values(count) if count else []:
            yield h.node_name(guid), current, h.value_key(value), h.value_value(value)[1]


def is_session(stored):
    return codecs.encode(stored, "rot13").upper() == "UEME_CTLSESSION"


def hivex_rows(path):
    """Every UserAssist value of a hive, read with hivex: the raw fields."""
    rows = []
    for guid, current, stored, data in hivex_values(path):
        data += bytes(72)
        runs = struct.unpack_from("<i", data, 4)[0]
        if current:
            focus = struct.unpack_from("<II", data, 8)
            filetime = 0 if is_session(stored) else struct.unpack_from("<Q", data, 60)[0]
        else:
            focus = (None, None)
            filetime = struct.unpack_from("<Q", data, 8)[0]
        rows.append((guid, 72 if current else 16, stored, runs, focus[0], focus[1], utc_text(filetime)))
    return rows


def report_hive(path, no_logs):
    """The tool's report of a hive read as stored, or with its logs replayed and the
    recovered hive kept: (exit code, rows, stderr, the recovered hive's path)."""
    recovered = SCRATCH / ("recovered-" + path.name)
    recovered.unlink(missing_ok=True)
    options = ["--no-logs"] if no_logs else ["--save-recovered-hive", str(recovered)]
    return (*report("--hive", str(path), *options), recovered)


def raw_fields(row):
    return (row["subkey"], row["layout"], row["stored_name"], row["run_count"], row["focus_count"],
            row["focus_time_ms"], row["last_run"])


class RealHives(unittest.TestCase):
    def setUp(self):
        if not (TESTDATA / "hives").is_dir():
            self.skipTest("no shared test data")

    def test_every_value_once_with_the_raw_fields_hivex_reads(self):
        # As stored (--no-logs), then with the logs replayed: only
        # transactions_NTUSER.DAT has logs beside it, and its rows then equal
        # hivex's reading of the hive the tool recovered.
        for no_logs, expected_total in ((True, 1193), (False, 1196)):
            total = 0
            for folder, name, _ in HIVES:
                with self.subTest(hive=f"{folder}/{name}", no_logs=no_logs):
                    path = plain_hive(folder, name)
                    code, rows, err, recovered = report_hive(path, no_logs)
                    expected_err = ""
                    if path.name in DIRTY:
                        expected_err = f"{path}: {DIRTY_WARNING}"
                        if no_logs:
                            expected_err += "\n"
                        elif path.name == "transactions_NTUSER.DAT":
                            expected_err = (f"{path}: transaction logs applied: 23 entries, sequence numbers 566 to "
                                            "588, from transactions_ntuser.dat.log1\n")
                        else:
                            expected_err += " (there are no transaction logs beside it)\n"
                    if not no_logs and not recovered.exists():
                        expected_err += f"{recovered}: not written: " + (
                            "no entry of its transaction logs could be applied\n" if path.name in DIRTY else
                            "the hive was closed cleanly, so there is nothing to recover\n")
                    self.assertEqual(err, expected_err)
                    self.assertEqual(code, 0 if no_logs or recovered.exists() else 7)
                    self.assertEqual([raw_fields(row) for row in rows],
                                     hivex_rows(recovered if recovered.exists() else path))
                    self.assertTrue(all(row["source"] == str(path) for row in rows))
                    total += len(rows)
            self.assertEqual(total, expected_total)

    def test_a_hive_and_its_export_give_the_same_report(self):
        for folder, name, export in HIVES:
            with self.subTest(hive=f"{folder}/{name}"):
                # The exports were made of the primary files as they are.
                _, from_hive, _ = report("--hive", str(plain_hive(folder, name)), "--no-logs")
                code, from_export, err = report("--reg", str(TESTDATA / "hives" / folder / export))
                self.assertEqual(code, 0, err)
                self.assertEqual(err, "")
                # The same rows; the exporter wrote the values in an order of its own,
                # and an export says nothing of whose it was.
                for row in from_hive + from_export:
                    del row["source"], row["user"]
                self.assertEqual(sorted(map(json.dumps, from_hive)), sorted(map(json.dumps, from_export)))

    def test_names_beyond_ascii_come_out_in_utf8(self):
        cases = [
            ("regipy", "NTUSER_with_winscp.DAT.xz",
             "C:\\Users\\tony\\Desktop\\offline\\אחריות דקסטר\\IR Computer image\\Installers\\FileCopies\\Desktop"
             "\\Malware Tools\\pestudio\\pestudio.exe"),
            ("regipy", "NTUSER_BAGMRU.DAT.xz", "C:\\Users\\tony\\Desktop\\תומר - Chrome.lnk"),
            # Stored one byte per character: Latin-1.
            ("notatin", "win7_ntuser.dat", "C:\\Users\\jmroberts\\Desktop\\USB_Research\\ChipEasy1.630\\Ð¾Æ¬ÎÞÓÇ.exe"),
        ]
        for folder, name, file_name in cases:
            with self.subTest(name=file_name):
                _, rows, _ = report("--hive", str(plain_hive(folder, name)))
                found = [row for row in rows if row["file_name"] == file_name]
                self.assertEqual(len(found), 1)
                self.assertEqual(found[0]["stored_name"], codecs.encode(file_name, "rot13"))
                self.assertGreater(found[0]["run_count"] + found[0]["focus_count"], 0)


EXECUTABLES = "{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}"
SHORTCUTS = "{F4E57C4B-2036-45F0-A9AB-443BCFE33D9F}"
SEEDED_NOTE = "Set by Windows at first logon, not a real run"


class ExplainedEntries(unittest.TestCase):
    """What the explaining pass finds in the 13 hives, checked against hivex's raw records."""

    def setUp(self):
        if not (TESTDATA / "hives").is_dir():
            self.skipTest("no shared test data")

    def test_seeded_entries_shortcut_pairs_and_counter_resets(self):
        # The counts were measured by hand over the hives (FORMAT.md); the
        # logs of transactions_NTUSER.DAT change none of them.
        for no_logs in (True, False):
            seeded = {EXECUTABLES: 0, SHORTCUTS: 0}
            pairs = 0
            for folder, name, _ in HIVES:
                with self.subTest(hive=f"{folder}/{name}", no_logs=no_logs):
                    _, rows, _, recovered = report_hive(plain_hive(folder, name), no_logs)
                    raw = {(guid, stored): (current, data + bytes(72))
                           for guid, current, stored, data in
                           hivex_values(recovered if recovered.exists() else plain_hive(folder, name))}
                    times = {}
                    for row in rows:
                        current, data = raw[(row["subkey"], row["stored_name"])]
                        decoded = codecs.encode(row["stored_name"], "rot13").upper()
                        plain = current and not is_session(row["stored_name"]) and decoded != "UEME_CTLCUACOUNT:CTOR"
                        self.assertEqual(row["counter_resets"], struct.unpack_from("<I", data)[0] if plain else None)
                        if row["subkey"] in seeded and current:
                            times.setdefault(struct.unpack_from("<Q", data, 60)[0], []).append(row)
                        if row["seeded_by_windows"]:
                            self.assertTrue(current)
                            self.assertEqual(row["note"], SEEDED_NOTE)
                            seeded[row["subkey"]] += 1
                    for filetime, group in times.items():
                        partners = {row["subkey"]: row for row in group}
                        for row in group:
                            if row["paired_with"] is None:
                                continue
                            # A pair: one shortcut and one program, and nothing else at their time.
                            self.assertNotEqual(filetime, 0)
                            self.assertEqual(len(group), 2)
                            other = partners[SHORTCUTS if row["subkey"] == EXECUTABLES else EXECUTABLES]
                            self.assertEqual(row["paired_with"], other["file_name"])
                            self.assertEqual(row["note"], ("Started by shortcut " if row["subkey"] == EXECUTABLES
                                                           else "Started ") + other["file_name"])
                            pairs += row["subkey"] == EXECUTABLES
                    # Real programs that happen to have the counts of seeded entries, at times of their own.
                    for program in ("\\EXCEL.EXE", "\\WinRAR.exe", "\\SecurID.exe"):
                        for row in rows:
                            if row["file_name"].endswith(program):
                                self.assertFalse(row["seeded_by_windows"], row["file_name"])
            self.assertEqual((seeded[EXECUTABLES], seeded[SHORTCUTS], pairs), (76, 53, 151))


# Whose each hive is by the path Windows last loaded it from; None where that
# path does not end in \\<user>\\ntuser.dat, so the folder holding the file says.
HIVE_USERS = {
    ("plaso", "NTUSER.DAT"): "joe", ("plaso", "NTUSER-WIN7.DAT"): "nfury", ("plaso", "NTUSER-CCLEANER.DAT"): "CCleaner",
    ("dfwinreg", "NTUSER.DAT"): "bperry", ("notatin", "NTUSER.DAT"): "Patrick",
    ("notatin", "win7_ntuser.dat"): "jmroberts", ("regipy", "NTUSER.DAT.xz"): "vibranium",
    ("regipy", "NTUSER-WSL.DAT.xz"): None, ("regipy", "NTUSER_BAGMRU.DAT.xz"): "tony",
    ("regipy", "NTUSER_modified.DAT.xz"): None, ("regipy", "NTUSER_with_winscp.DAT.xz"): "tony",
    ("regipy", "transactions_NTUSER.DAT.xz"): "tony", ("regipy", "ntuser_software_partial.xz"): None,
}


def path_order(paths):
    """Paths compared component by component, each by its UTF-8 bytes."""
    return sorted(paths, key=lambda path: [part.encode() for part in path.replace("\\", "/").split("/")])


def make_evidence_tree(root, with_link=True):
    """The 13 hives as a collector lays out profiles; returns {tree path: (folder, name)}."""
    shutil.rmtree(root, ignore_errors=True)
    placed = {}
    for i, (folder, name, _) in enumerate(HIVES):
        profile = root / "Users" / f"user{i:02} {folder}"
        if (folder, name) == ("plaso", "NTUSER.DAT"):  # Windows XP kept its profiles here
            profile = root / "Documents and Settings" / "joe"
        profile.mkdir(parents=True)
        hive = profile / ("ntuser.dat" if i % 3 == 0 else "NTUSER.DAT")
        shutil.copyfile(plain_hive(folder, name), hive)
        placed[str(hive)] = (folder, name)
        if name.startswith("transactions_"):
            for log in ("LOG1", "LOG2"):
                shutil.copyfile(PLAIN_HIVES / folder / f"transactions_ntuser.dat.{log.lower()}", f"{hive}.{log}")
    broken = root / "Users" / "broken"
    broken.mkdir()
    (broken / "NTUSER.DAT").write_bytes(b"not a hive at all")
    (root / "Users" / "notes").mkdir()
    (root / "Users" / "notes" / "NTUSER.DAT.txt").write_text("not named like a hive")
    if with_link:
        os.symlink("..", root / "Users" / "link back up")
    return placed


class EvidenceTrees(unittest.TestCase):
    def setUp(self):
        if not (TESTDATA / "hives").is_dir():
            self.skipTest("no shared test data")

    def test_every_hive_once_in_path_order_with_its_user(self):
        root = SCRATCH / "tree"
        placed = make_evidence_tree(root)
        broken = str(root / "Users" / "broken" / "NTUSER.DAT")
        code, out, err = run_tool("--dir", str(root), "--format", "json", "--jobs", "1")
        self.assertEqual(code, 4)  # the non-hive; the dirty hives without logs only warn
        self.assertIn(f"{broken}: ", err)
        rows = json.loads(out)
        sources = list(dict.fromkeys(row["source"] for row in rows))
        self.assertEqual(sources, path_order(placed))
        for path, (folder, name) in placed.items():
            with self.subTest(hive=f"{folder}/{name}"):
                mine = [row for row in rows if row["source"] == path]
                expected_user = HIVE_USERS[(folder, name)] or Path(path).parent.name
                self.assertEqual({row["user"] for row in mine}, {expected_user})
                # The rows of the file read alone, its logs replayed where they lie beside it.
                _, alone, _ = report("--hive", path)
                self.assertEqual(mine, alone)
        self.assertEqual(len(rows), 1196)
        # Any number of threads writes the same bytes, in every form.
        for form in ("json", "table", "csv"):
            one = run_tool("--dir", str(root), "--format", form, "--jobs", "1")
            self.assertEqual(run_tool("--dir", str(root), "--format", form, "--jobs", "4"), one)
            self.assertEqual(run_tool("--dir", str(root), "--format", form), one)

    def test_folders_that_cannot_be_walked(self):
        root = SCRATCH / "tree-failures"
        shutil.rmtree(root, ignore_errors=True)
        (root / "empty" / "deeper").mkdir(parents=True)
        missing = root / "missing"
        code, out, err = run_tool("--dir", str(missing), "--dir", str(root / "empty"), "--format", "csv")
        self.assertEqual(code, 3)
        self.assertEqual(err.splitlines(), [
            f"{missing}: cannot open the folder: No such file or directory",
            f"{root / 'empty'}: no file named NTUSER.DAT in this folder or below it"])
        self.assertEqual(out.count("\r\n"), 1)  # the header alone
        # A folder inside that cannot be opened is said, and the walk goes on.
        locked = root / "locked"
        (root / "open").mkdir()
        shutil.copyfile(plain_hive("plaso", "NTUSER.DAT"), root / "open" / "NTUSER.DAT")
        locked.mkdir()
        locked.chmod(0)
        try:
            if os.access(locked, os.R_OK):
                self.skipTest("this user reads any folder")
            code, rows, err = report("--dir", str(root))
            self.assertEqual(code, 3)
            self.assertEqual(err, f"{locked}: cannot open the folder: Permission denied\n")
            self.assertEqual({row["source"] for row in rows}, {str(root / "open" / "NTUSER.DAT")})
        finally:
            locked.chmod(0o755)


def left_out_line(count):
    return f"tallyglass-report: {count} rows without a last-run time since 1970 left out of the timeline"


class Timelines(unittest.TestCase):
    """The timeline forms over a made-up tree of the 13 hives, read by the tools they are for."""

    def setUp(self):
        if not (TESTDATA / "hives").is_dir():
            self.skipTest("no shared test data")
        if not (shutil.which("mactime") and shutil.which("jq")):
            self.skipTest("no mactime (sleuthkit) or jq")

    def timeline(self, form, *sources):
        code, out, err = run_tool(*sources, "--format", form)
        path = SCRATCH / f"timeline.{form}"
        path.write_text(out, encoding="utf-8")
        return code, out.splitlines(), err.splitlines(), path

    def test_each_form_loads_in_its_tool(self):
        root = SCRATCH / "timeline-tree"
        make_evidence_tree(root)
        _, rows, _ = report("--dir", str(root))
        dated = [row for row in rows if row["last_run"] and row["last_run"] >= "1970"]
        self.assertEqual(len(rows), 1196)

        code, lines, err, path = self.timeline("bodyfile", "--dir", str(root))
        self.assertEqual(code, 4)  # the non-hive in the tree, as with every form
        self.assertEqual(err[-1], left_out_line(len(rows) - len(dated)))
        self.assertEqual(len(lines), len(dated))
        timeline = subprocess.run(["mactime", "-b", str(path), "-d", "-z", "UTC", "1970-01-02"], capture_output=True,
                                  text=True, check=True).stdout.splitlines()
        # A header, then one dated row per line of the body file.
        self.assertEqual(len(timeline), len(lines) + 1)
        self.assertTrue(all(line[:3] in ("Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun") for line in timeline[1:]))

        _, lines, _, _ = self.timeline("tln", "--dir", str(root))
        fields = [line.split("|") for line in lines]
        self.assertEqual({len(f) for f in fields}, {5})
        self.assertEqual(len(fields), len(dated))
        self.assertEqual(sorted(int(f[0]) for f in fields), sorted(
            int((datetime.fromisoformat(row["last_run"][:-1]).replace(tzinfo=timezone.utc)).timestamp())
            for row in dated))

        for form, count in (("jsonl", len(rows)), ("timesketch", len(dated))):
            with self.subTest(form=form):
                _, lines, _, path = self.timeline(form, "--dir", str(root))
                read = subprocess.run(["jq", "-c", ".", str(path)], capture_output=True, text=True, check=True)
                self.assertEqual(len(read.stdout.splitlines()), count)
                objects = [json.loads(line) for line in lines]
                if form == "jsonl":
                    self.assertEqual(objects, rows)
                    continue
                for event in objects:
                    self.assertEqual(list(event)[:len(FIELDS)], FIELDS)
                    self.assertEqual(event["datetime"], event["last_run"])
                    self.assertEqual(event["timestamp_desc"], "Last run")
                    runs = event["run_count"]
                    self.assertEqual(event["message"],
                                     f"UserAssist: {event['file_name']}, {runs} run{'' if runs == 1 else 's'}")

    def test_bars_and_control_characters_never_split_a_line_or_field(self):
        names = ["C:\\a|b.exe", "C:\\tab\tand\x1funit.exe", "C:\\cr\rx.exe"]
        path = SCRATCH / "bars.reg"
        path.write_bytes(export_text([(name, i + 1, 72) for i, name in enumerate(names)]).encode("utf-16-le"))
        cleaned = {name.replace("|", "_").replace("\t", "_").replace("\x1f", "_").replace("\r", "_") for name in names}
        _, lines, _, body = self.timeline("bodyfile", "--reg", str(path))
        timeline = subprocess.run(["mactime", "-b", str(body), "-d", "-z", "UTC", "1970-01-02"], capture_output=True,
                                  text=True, check=True).stdout.splitlines()
        self.assertEqual(len(timeline), len(names) + 1)
        self.assertEqual({line.split("|")[1].split(": ", 1)[1].split(" [")[0] for line in lines}, cleaned)
        _, lines, _, _ = self.timeline("tln", "--reg", str(path))
        self.assertEqual([len(line.split("|")) for line in lines], [5] * len(names))
        _, lines, _, _ = self.timeline("timesketch", "--reg", str(path))
        self.assertEqual({json.loads(line)["file_name"] for line in lines}, cleaned)


# LOGS.md: SHA-256 of the hive bins data after a full replay, and after one that entry 568 stops.
REPLAYED_BINS = {
    "transactions_NTUSER.DAT": "9c5e83727e19ff8f7fd95b73ba006dbc20dffbeead9ace35a88753f3fc7e4299",
    "SYSTEM_B": "b6e091176b3d00b7b97efdeaeef519b1adfbaa5f6d8118d5c44fa2dcfeb5029a",
    "UsrClass.dat": "ecc04a58aa3d2467871e80e393eb8469a5fdd425f37fc88f55308efc2f384930",
}
BINS_STOPPED_AT_568 = "34e5c13c0e80a16ca7c5235978fa92a49c36976777e6f753fa18a1a9cc6259c2"


def base_block_checksum(block):
    checksum = 0
    for (word,) in struct.iter_unpack("<I", block[:508]):
        checksum ^= word
    return {0: 1, 0xFFFFFFFF: 0xFFFFFFFE}.get(checksum, checksum)


def clean_hive_bins_digest(path):
    """The SHA-256 of a hive file's hive bins data, checking first that it is
    a clean primary file of exactly its base block and hive bins."""
    data = path.read_bytes()
    primary, secondary, file_type, bins_size, checksum = (*struct.unpack_from("<II", data, 4),
                                                          *struct.unpack_from("<I", data, 28),
                                                          *struct.unpack_from("<I", data, 40),
                                                          *struct.unpack_from("<I", data, 508))
    assert data[:4] == b"regf" and primary == secondary and file_type == 0, (primary, secondary, file_type)
    assert checksum == base_block_checksum(data) and len(data) == 4096 + bins_size, (checksum, len(data), bins_size)
    return hashlib.sha256(data[4096:]).hexdigest()


def log_entry_offsets(log):
    """Where each new-format log entry begins, by its sequence number."""
    offsets = {}
    at = 512
    while log[at:at + 4] == b"HvLE":
        size, _, sequence = struct.unpack_from("<III", log, at + 4)
        offsets[sequence] = at
        at += size
    return offsets


def flip_byte_in_entry(log, sequence):
    at = log_entry_offsets(log)[sequence]
    size = struct.unpack_from("<I", log, at + 4)[0]
    damaged = bytearray(log)
    damaged[at + size // 2] ^= 0x5A
    return bytes(damaged)


def cut_in_entry(log, sequence):
    at = log_entry_offsets(log)[sequence]
    return log[:at + struct.unpack_from("<I", log, at + 4)[0] // 2]


def spoil_checksum(hive):
    damaged = bytearray(hive)
    damaged[508] ^= 0xFF
    return bytes(damaged)


class TransactionLogs(unittest.TestCase):
    """Each case lays out a dirty hive with logs in a folder of its own and
    reads it with --save-recovered-hive: the rows, the line about the logs,
    the file written, and the files read left as they were."""

    def setUp(self):
        if not (PLAIN_HIVES / "regipy").is_dir():
            self.skipTest("no shared test data")

    def lay_out(self, case, files):
        folder = SCRATCH / "logs" / case
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for name, content in files.items():
            (folder / name).write_bytes(content)
        return folder

    def test_replays_as_windows_would_and_says_how_it_went(self):
        regipy = PLAIN_HIVES / "regipy"
        hive = (regipy / "transactions_NTUSER.DAT").read_bytes()
        log1 = (regipy / "transactions_ntuser.dat.log1").read_bytes()
        log2 = (regipy / "transactions_ntuser.dat.log2").read_bytes()
        as_given = {"transactions_NTUSER.DAT": hive, "transactions_ntuser.dat.log1": log1,
                    "transactions_ntuser.dat.log2": log2}
        applied = "transaction logs applied: 23 entries, sequence numbers 566 to 588, from "
        partial = "transaction logs applied in part: 2 entries, sequence numbers 566 to 567, from "
        cases = [
            # case, files, hive, rows, the line about the logs, what is written
            ("as given", as_given, "transactions_NTUSER.DAT", 25,
             applied + "transactions_ntuser.dat.log1", REPLAYED_BINS["transactions_NTUSER.DAT"]),
            # An applicable new-format log wins over a valid old-format one (which marks no page dirty here).
            ("an old-format log beside", {**as_given, "transactions_NTUSER.DAT.LOG": with_checksum(
                hive[:4] + hive[4:8] * 2 + hive[12:28] + b"\x01\0\0\0" + hive[32:512]) + b"DIRT" + bytes(508)},
             "transactions_NTUSER.DAT", 25, applied + "transactions_ntuser.dat.log1",
             REPLAYED_BINS["transactions_NTUSER.DAT"]),
            ("Windows' names", {"NTUSER.DAT": hive, "NTUSER.DAT.LOG1": log1, "NTUSER.DAT.LOG2": log2},
             "NTUSER.DAT", 25, applied + "NTUSER.DAT.LOG1", REPLAYED_BINS["transactions_NTUSER.DAT"]),
            ("checksum spoiled", {**as_given, "transactions_NTUSER.DAT": spoil_checksum(hive)},
             "transactions_NTUSER.DAT", 25, applied + "transactions_ntuser.dat.log1",
             REPLAYED_BINS["transactions_NTUSER.DAT"]),
            ("SYSTEM_B", {name: (regipy / name).read_bytes() for name in ("SYSTEM_B", "SYSTEM_B.LOG1", "SYSTEM_B.LOG2")},
             "SYSTEM_B", 0, "transaction logs applied: 24 entries, sequence numbers 2107 to 2130, from SYSTEM_B.LOG1 "
             "and SYSTEM_B.LOG2", REPLAYED_BINS["SYSTEM_B"]),
            ("UsrClass.dat", {name: (regipy / name).read_bytes()
                              for name in ("UsrClass.dat", "UsrClass.dat.LOG1", "UsrClass.dat.LOG2")},
             "UsrClass.dat", 0, "transaction logs applied: 14 entries, sequence numbers 287 to 300, from "
             "UsrClass.dat.LOG1 and UsrClass.dat.LOG2", REPLAYED_BINS["UsrClass.dat"]),
            ("entry 568 flipped", {**as_given, "transactions_ntuser.dat.log1": flip_byte_in_entry(log1, 568)},
             "transactions_NTUSER.DAT", 22, partial + "transactions_ntuser.dat.log1; entry 568 of "
             "transactions_ntuser.dat.log1 stopped the replay: its hash does not match", BINS_STOPPED_AT_568),
            ("log cut", {**as_given, "transactions_ntuser.dat.log1": cut_in_entry(log1, 570)},
             "transactions_NTUSER.DAT", None, "transaction logs applied in part: 4 entries, sequence numbers 566 to "
             "569, from transactions_ntuser.dat.log1; entry 570 of transactions_ntuser.dat.log1 stopped the replay: "
             "it runs past the end of the file, which is cut short", "partial"),
            ("another hive's log", {"transactions_NTUSER.DAT": hive,
                                    "transactions_NTUSER.DAT.LOG1": (regipy / "SYSTEM_B.LOG1").read_bytes()},
             "transactions_NTUSER.DAT", 22,
             f"{DIRTY_WARNING} (transactions_NTUSER.DAT.LOG1 is not used: it belongs to another hive)", None),
            ("empty log1", {**as_given, "transactions_ntuser.dat.log1": b""}, "transactions_NTUSER.DAT", 22,
             f"{DIRTY_WARNING} (its logs are older than the hive)", None),
            ("names that differ in case", {**as_given, "TRANSACTIONS_NTUSER.DAT.LOG1": log1},
             "transactions_NTUSER.DAT", 22, f"{DIRTY_WARNING} (TRANSACTIONS_NTUSER.DAT.LOG1 and "
             "transactions_ntuser.dat.log1 differ only in case, so neither is used; its logs are older than the hive)",
             None),
        ]
        for case, files, hive_name, rows, line, written in cases:
            with self.subTest(case=case):
                folder = self.lay_out(case, files)
                recovered = SCRATCH / "logs" / (case + ".recovered")
                recovered.unlink(missing_ok=True)
                before = {path.name: path.read_bytes() for path in folder.iterdir()}
                code, out, err = run_tool("--hive", str(folder / hive_name), "--format", "json",
                                          "--save-recovered-hive", str(recovered))
                lines = err.splitlines()
                self.assertEqual(lines[0], f"{folder / hive_name}: {line}")
                if rows is not None:
                    self.assertEqual(len(json.loads(out)), rows)
                if written is None:
                    self.assertEqual((code, lines[1:]), (7, [f"{recovered}: not written: no entry of its transaction "
                                                             "logs could be applied"]))
                    self.assertFalse(recovered.exists())
                else:
                    self.assertEqual(code, 0)
                    digest = clean_hive_bins_digest(recovered)
                    if written != "partial":
                        self.assertEqual(digest, written)
                    self.assertEqual(lines[1:], [f"{recovered}: written, but partial: a damaged log entry stopped "
                                                 "the replay"] if "in part" in line else [])
                self.assertEqual({path.name: path.read_bytes() for path in folder.iterdir()}, before)

    def test_the_entries_that_live_only_in_the_logs_are_reported(self):
        path = PLAIN_HIVES / "regipy" / "transactions_NTUSER.DAT"
        _, stored, _ = report("--hive", str(path), "--no-logs")
        _, replayed, _ = report("--hive", str(path))
        names = {row["file_name"]: row for row in replayed}
        only_in_logs = set(names) - {row["file_name"] for row in stored}
        self.assertEqual(only_in_logs, {"[System]\\rundll32.exe", "Microsoft.Windows.ControlPanel.FolderOptions",
                                        "Microsoft.Windows.Cortana_cw5n1h2txyewy!CortanaUI"})
        rundll32 = names["[System]\\rundll32.exe"]
        self.assertEqual((rundll32["run_count"], rundll32["last_run"][:19]), (1, "2019-02-13T21:00:58"))
        session = [row for row in replayed if row["kind"] == "Session"][0]
        self.assertEqual((session["focus_count"], names["Microsoft.Windows.Shell.RunDialog"]["focus_count"],
                          names["Microsoft.Windows.Explorer"]["focus_count"]), (127, 1, 4))

    def test_a_failed_write_leaves_nothing_behind(self):
        hive = PLAIN_HIVES / "regipy" / "transactions_NTUSER.DAT"
        folder = SCRATCH / "logs" / "write failures"
        shutil.rmtree(folder, ignore_errors=True)
        (folder / "a folder").mkdir(parents=True)
        for target, reason in ((folder / "no such folder" / "out.dat", "No such file or directory"),
                               (folder / "a folder", "Is a directory")):
            with self.subTest(target=target.name):
                code, _, err = run_tool("--hive", str(hive), "--format", "csv", "--save-recovered-hive", str(target))
                self.assertEqual(code, 7)
                self.assertEqual(err.splitlines()[1:], [f"{target}: not written: {reason}"])
                self.assertEqual(sorted(p.name for p in folder.iterdir()), ["a folder"])

    def test_a_log_or_the_hive_itself_is_never_the_recovered_file(self):
        folder = self.lay_out("targets", {"NTUSER.DAT": b"regf", "ntuser.dat.LOG1": b"x"})
        (folder / "link.LOG1").symlink_to(folder / "ntuser.dat.LOG1")
        for target in ("NTUSER.DAT", "ntuser.dat.LOG1", "link.LOG1"):
            with self.subTest(target=target):
                code, out, err = run_tool("--hive", str(folder / "NTUSER.DAT"), "--save-recovered-hive",
                                          str(folder / target))
                self.assertEqual((code, out), (2, ""))
                self.assertIn("itself; name a new file", err)
        self.assertEqual((folder / "ntuser.dat.LOG1").read_bytes(), b"x")


def with_checksum(block):
    block = bytearray(block)
    struct.pack_into("<I", block, 508, base_block_checksum(block))
    return bytes(block)


class OldFormatCase:
    """A Windows 7 hive made dirty, with an old-format log (Windows XP to 8)
    that brings it to a changed copy of the same size: some UserAssist
    records with a new run count and time. The log's base block is the
    hive's own with file type 1 and equal sequence numbers, and its dirty
    vector marks each changed 4,096-byte block as eight pages, as Windows does."""

    PATH = TESTDATA / "hives" / "plaso" / "NTUSER-WIN7.DAT"

    def __init__(self):
        original = bytearray(self.PATH.read_bytes())
        sequence = struct.unpack_from("<I", original, 4)[0]
        struct.pack_into("<I", original, 8, sequence - 1)
        self.original = with_checksum(original[:4096]) + bytes(original[4096:])
        changed = bytearray(self.original)
        h = hivex.Hivex(str(self.PATH))
        node = h.node_get_child(h.root(), "Software")
        for name in USERASSIST + ["{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}", "Count"]:
            node = h.node_get_child(node, name)
        records = [v for v in h.node_values(node) if h.value_value(v)[1][:4] == bytes(4)][:12:3]
        for i, value in enumerate(records):
            at = h.value_data_cell_offset(value)[1] + 4  # past the cell's size
            struct.pack_into("<iQ", changed, at + 4, 100 + i, 0)
            struct.pack_into("<Q", changed, at + 60, 0x01D9000000000000 + i)
        self.changed = bytes(changed)
        self.blocks = [at for at in range(4096, len(changed), 4096) if changed[at:at + 4096] != self.original[at:at + 4096]]
        bins_size = struct.unpack_from("<I", self.original, 40)[0]
        bitmap = bytearray((bins_size // 512 + 7) // 8)
        for at in self.blocks:
            bitmap[(at - 4096) // 4096] = 0xFF
        base = bytearray(self.original[:512])
        struct.pack_into("<II", base, 4, sequence, sequence)
        struct.pack_into("<I", base, 28, 1)
        vector = b"DIRT" + bitmap
        vector += bytes(-len(vector) % 512)
        self.first_page = 512 + len(vector)
        self.log = with_checksum(base) + vector + b"".join(changed[at:at + 4096] for at in self.blocks)

    def log_with(self, offset, data):
        log = bytearray(self.log)
        log[offset:offset + len(data)] = data
        return bytes(log)

    def bin_starts(self):
        starts, at = set(), 4096
        while at < 4096 + struct.unpack_from("<I", self.original, 40)[0]:
            starts.add(at)
            at += struct.unpack_from("<I", self.original, at + 8)[0]
        return starts


class OldFormatLogs(unittest.TestCase):
    def setUp(self):
        if not OldFormatCase.PATH.is_file():
            self.skipTest("no shared test data")

    def lay_out(self, case, files):
        folder = SCRATCH / "old-logs" / case
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for name, content in files.items():
            (folder / name).write_bytes(content)
        return folder / "NTUSER.DAT"

    def test_replays_dirty_pages_a_bin_at_a_time(self):
        made = OldFormatCase()
        self.assertGreaterEqual(len(made.blocks), 2)
        # A changed block after the first that begins a hive bin, for a log whose copy of it is damaged.
        bin_page = made.first_page + 4096 * next(i for i, at in enumerate(made.blocks) if i and at in made.bin_starts())
        pages = 8 * len(made.blocks)
        applied = f"transaction log applied: {pages} dirty pages from NTUSER.DAT.LOG1 (the format of Windows XP to 8)"
        not_applied = f"{DIRTY_WARNING} (NTUSER.DAT.LOG1 is not used: "
        cases = [
            # case, files beside the hive, the line about the logs, the hive read
            ("as made", {"NTUSER.DAT.LOG1": made.log}, applied, made.changed),
            ("an empty .LOG2 beside", {"NTUSER.DAT.LOG1": made.log, "NTUSER.DAT.LOG2": b""}, applied, made.changed),
            ("primary checksum spoiled", {"NTUSER.DAT.LOG1": made.log}, applied, made.changed),
            ("log checksum spoiled", {"NTUSER.DAT.LOG1": made.log_with(508, b"\xff\xff")},
             not_applied + "its base block is damaged)", None),
            ("no dirty vector", {"NTUSER.DAT.LOG1": made.log_with(512, b"DIRX")},
             not_applied + 'it has no "DIRT" dirty vector)', None),
            ("written at another time", {"NTUSER.DAT.LOG1": with_checksum(made.log_with(12, b"\x01")[:512]) +
                                         made.log[512:]},
             not_applied + "it was written at another time than the hive)", None),
            ("a dirty bin damaged", {"NTUSER.DAT.LOG1": made.log_with(bin_page, b"hbix")},
             "transaction log applied in part: ", "partial"),
        ]
        for case, logs, line, read in cases:
            with self.subTest(case=case):
                primary = made.original
                if case == "primary checksum spoiled":
                    primary = spoil_checksum(primary)
                hive = self.lay_out(case, {"NTUSER.DAT": primary, **logs})
                recovered = hive.parent / "recovered.dat"
                code, out, err = run_tool("--hive", str(hive), "--format", "json", "--save-recovered-hive",
                                          str(recovered))
                first = err.splitlines()[0]
                self.assertTrue(first.startswith(f"{hive}: {line}"), first)
                if read is None:
                    self.assertEqual(code, 7)
                    self.assertEqual([raw_fields(r) for r in json.loads(out)], hivex_rows(made.PATH))
                    continue
                self.assertEqual(code, 0)
                self.assertEqual([raw_fields(r) for r in json.loads(out)], hivex_rows(recovered))
                data = recovered.read_bytes()
                clean_hive_bins_digest(recovered)
                self.assertEqual(struct.unpack_from("<I", data, 4)[0], struct.unpack_from("<I", made.original, 4)[0])
                if read == "partial":
                    self.assertIn('the dirty hive bin at offset 0x', first)
                    self.assertIn('has no "hbin" signature', first)
                    self.assertNotEqual(data[4096:], made.changed[4096:len(data)])
                else:
                    self.assertEqual(data[4096:], made.changed[4096:len(data)])
                    self.assertNotEqual(hivex_rows(recovered), hivex_rows(made.PATH))
                # As stored, the hive gives the rows of the original.
                _, stored, _ = report("--hive", str(hive), "--no-logs")
                self.assertEqual([raw_fields(r) for r in stored], hivex_rows(made.PATH))


def export_text(values):
    """A regedit export in UTF-16LE with a byte-order mark: the executables' key
    holding 72-byte records under the given (decoded) names."""
    key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist"
    guid = key + "\\{CEBFF5CD-ACE2-4F4F-9178-9926F41749EA}"
    lines = ["Windows Registry Editor Version 5.00", "", f"[{key}]", "", f"[{guid}]",
             '"Version"=dword:00000005', "", f"[{guid}\\Count]"]
    for name, runs, size in values:
        stored = codecs.encode(name, "rot13").replace("\\", "\\\\").replace('"', '\\"')
        record = struct.pack("<iiII", 0, runs, 2, 3000) + bytes(44) + struct.pack("<QI", 0x01D04B00A1022560, 0)
        record = (record + bytes(size))[:size]
        lines.append(f'"{stored}"=hex:' + ",".join("%02x" % b for b in record))
    return "\ufeff" + "\r\n".join(lines) + "\r\n"


class Syntax(unittest.TestCase):
    NAMES = ["C:\\a,b.exe", 'C:\\say "hi".exe', "C:\\\"quoted, and, commas\".exe", "C:\\café\\naïve.exe",
             "C:\\Users\\x\\שלום.lnk", "Grinning \U0001F600 app"]

    def write_export(self, file_name, values):
        path = SCRATCH / file_name
        path.write_bytes(export_text(values).encode("utf-16-le"))
        return path

    def test_csv_and_json_read_back_with_real_parsers(self):
        path = self.write_export("syntax.reg", [(name, i + 1, 72) for i, name in enumerate(self.NAMES)])
        code, out, err = run_tool("--reg", str(path), "--format", "csv")
        self.assertEqual((code, err), (0, ""))
        self.assertIn("\r\n", out)
        table = list(csv.reader(io.StringIO(out, newline="")))
        self.assertEqual(table[0], FIELDS)
        self.assertEqual([row[4] for row in table[1:]], self.NAMES)

        code, out, err = run_tool("--reg", str(path), "--format", "json")
        self.assertEqual((code, err), (0, ""))
        rows = json.loads(out)
        self.assertEqual([row["file_name"] for row in rows], self.NAMES)
        self.assertEqual([list(row) for row in rows], [FIELDS] * len(self.NAMES))
        # The same values in both forms; CSV leaves out nothing but null.
        for line, row in zip(table[1:], rows):
            self.assertEqual(line, ["" if row[f] is None else json.dumps(row[f]) if isinstance(row[f], bool)
                                    else str(row[f]) for f in FIELDS])
        self.assertEqual(rows[0]["last_run"], "2015-02-17T22:25:26.710Z")

    def test_json_stays_valid_when_errors_end_the_output_early(self):
        refused = self.write_export("refused.reg", [("C:\\one.exe", 1, 72), ("C:\\two, \"2\".exe", 2, 72),
                                                    ("C:\\too long.exe", 3, 73)])
        code, rows, err = report("--reg", str(refused))
        self.assertEqual(code, 1)
        self.assertEqual([row["file_name"] for row in rows], ["C:\\one.exe", 'C:\\two, "2".exe'])
        self.assertEqual(err, f"{refused}: Invalid data type for 'P:\\gbb ybat.rkr'\n")

        missing = SCRATCH / "missing.reg"
        code, rows, err = report("--reg", str(missing), "--reg", str(refused), "--reg", str(missing))
        self.assertEqual(code, 3)
        self.assertEqual(len(rows), 2)
        self.assertEqual(len(err.splitlines()), 3)


if __name__ == "__main__":
    if not TOOL:
        sys.exit("TALLYGLASS_REPORT names no tool")
    unittest.main(argv=sys.argv[:1] + sys.argv[1:], verbosity=2)
