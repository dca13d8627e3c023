"""Checks the CSV file that the viewer test saved: UTF-8 with a byte-order
mark, CRLF line ends, the eight column titles, then the listed rows sorted by
"Exec Count" descending. The row numbers follow the registry's read order,
which differs between Windows and Wine, so only their set is checked."""
import csv
import sys

EXPECTED = [
    ["UEME_CTLSESSION", "Session", "12", "", "", "No Data", ""],
    ['C:\\Tools\\say "hi", world.exe', "Executable", "9", "", "", "01/31/2006 17:05:09", ""],
    ['[Start Menu]\\Café "Crème".lnk', "Shortcut", "4", "", "", "02/01/2006 00:00:00", ""],
    ["C:\\Übung\\naïve.exe", "Executable", "2", "", "", "12/24/2005 08:30:00", ""],
    ["desk.cpl", "Control Panel", "1", "", "", "Unknown", ""],
]


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
    if rows[:1] != [["Count", "File Name", "Type", "Exec Count", "Focus Count", "Focus Time", "Last Executed", "Note"]]:
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
    sys.exit(main(sys.argv[1]))
