"""Checks the CSV file that the viewer test saved: UTF-8 with a byte-order
mark, CRLF line ends, the eight column titles, then the listed rows sorted by
"Exec Count" descending. The row numbers follow the registry's read order,
which differs between Windows and Wine, so only their set is checked.

With --hebrew: the list of a user's export saved after sorting by "Note",
which must hold its 140 rows and the one name in Hebrew letters whole."""
import csv
import sys

EXPECTED = [
    ["UEME_CTLSESSION", "Session", "12", "", "", "No Data", ""],
    ['C:\\Tools\\say "hi", world.exe', "Executable", "9", "", "", "01/31/2006 17:05:09", ""],
    ['[Start Menu]\\Café "Crème".lnk', "Shortcut", "4", "", "", "02/01/2006 00:00:00", ""],
    ["C:\\Übung\\naïve.exe", "Executable", "2", "", "", "12/24/2005 08:30:00", ""],
    ["desk.cpl", "Control Panel", "1", "", "", "Unknown", ""],
]


TITLES = ["Count", "File Name", "Type", "Exec Count", "Focus Count", "Focus Time", "Last Executed", "Note"]
HEBREW_NAME = ("C:\\Users\\tony\\Desktop\\offline\\\u05d0\u05d7\u05e8\u05d9\u05d5\u05ea \u05d3\u05e7\u05e1\u05d8\u05e8"
               "\\IR Computer image\\Installers\\FileCopies\\Desktop\\Malware Tools\\pestudio\\pestudio.exe")


def check_hebrew(path):
    with open(path, newline="", encoding="utf-8-sig") as text:
        rows = list(csv.reader(text))
    problems = []
    if rows[:1] != [TITLES]:
        problems.append("header is %r" % rows[:1])
    body = rows[1:]
    if len(body) != 140 or any(len(row) != len(TITLES) for row in body):
        problems.append("%d rows, of %r fields" % (len(body), sorted(set(len(row) for row in body))))
    if [row[2] for row in body if row[1] == HEBREW_NAME] != ["Executable"]:
        problems.append("the Hebrew name is not there once, as an executable")
    for problem in problems:
        print(problem)
    print("%s: %d rows read back, %s" % (path, len(body), "FAILED" if problems else "the Hebrew name kept"))
    return 1 if problems else 0


def main(path):
    with open(path, "rb") as raw:
        data = raw.read()
    problems = []
    if not data.startswith(b"\xef\xbb\xbf"):
        problems.append("no UTF-8 byte-order mark")
    if data.count(b"\r\n") != len(EXPECTED) + 1 or b"\n" in data.replace(b"\r\n", b""):
        problems.append("lines are not all ended by CRLF")
    with open(path, newline="", encoding="utf-8-sig") as text:
        rows = list(csv.reader(text))
    if rows[:1] != [TITLES]:
        problems.append("header is %r" % rows[:1])
    body = rows[1:]
    if sorted(int(row[0]) for row in body) != list(range(1, len(EXPECTED) + 1)):
        problems.append("row numbers are %r" % [row[0] for row in body])
    if [row[1:] for row in body] != EXPECTED:
        problems.append("rows are %r" % [row[1:] for row in body])
    for problem in problems:
        print(problem)
    print("%s: %d rows read back, %s" % (path, len(body), "FAILED" if problems else "as listed"))
    return 1 if problems else 0


if __name__ == "__main__":
    if sys.argv[1] == "--hebrew":
        sys.exit(check_hebrew(sys.argv[2]))
    sys.exit(main(sys.argv[1]))
