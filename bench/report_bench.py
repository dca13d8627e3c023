#!/usr/bin/python3
"""Times tallyglass-report on the 13 real hives against hivexregedit --export
of the same UserAssist key, in one run, and prints the ratio; then the peak
memory of the tool on the largest hive; then a dirty hive with its logs
against the same read with --no-logs, and the peak memory of the replay.
Given another build of the tool (an earlier commit's, say), it is timed on the
13 hives too. Run by hand, from the worktree:

    /usr/bin/python3 bench/report_bench.py [ROUNDS [OTHER_TOOL]]

It needs the host build (its tool and its decompressed hives) and
hivexregedit (Debian's libwin-hivex-perl). Each hive is one process on both
sides, its output going to /dev/null; the best of ROUNDS rounds counts.
"""
import os
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
TOOL = ROOT / "build/host/src/report/tallyglass-report"
TESTDATA = Path(os.environ.get("TALLYGLASS_TESTDATA", ROOT.parent / "shared/testdata")) / "hives"
PLAIN = ROOT / "build/host/plain-hives"
USERASSIST = "\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist"
HIVES = [TESTDATA / "plaso/NTUSER.DAT", TESTDATA / "plaso/NTUSER-WIN7.DAT", TESTDATA / "plaso/NTUSER-CCLEANER.DAT",
         TESTDATA / "dfwinreg/NTUSER.DAT", TESTDATA / "notatin/NTUSER.DAT", TESTDATA / "notatin/win7_ntuser.dat"] + [
         PLAIN / "regipy" / name for name in ("NTUSER.DAT", "NTUSER-WSL.DAT", "NTUSER_BAGMRU.DAT", "NTUSER_modified.DAT",
                                             "NTUSER_with_winscp.DAT", "transactions_NTUSER.DAT",
                                             "ntuser_software_partial")]


def key_of(hive):
    # The Software subtree's own hive has Microsoft\... at its root.
    return USERASSIST if hive.name == "ntuser_software_partial" else "\\Software" + USERASSIST


def run(command):
    """Runs a command with its output discarded: (seconds, peak resident KiB)."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"failed: {' '.join(map(str, command))}")
    return seconds, usage.ru_maxrss


def best_of(rounds, command):
    return min(run(command)[0] for _ in range(rounds))


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    other = Path(sys.argv[2]) if len(sys.argv) > 2 else None
    missing = [str(p) for p in [TOOL, *HIVES] if not p.exists()]
    if missing:
        sys.exit("missing (build the host preset first): " + ", ".join(missing))
    ours = []
    theirs = []
    others = []
    for _ in range(rounds):
        # The primaries as stored: hivexregedit and an earlier build replay no logs.
        ours.append(sum(run([TOOL, "--hive", hive, "--no-logs", "--format", "csv"])[0] for hive in HIVES))
        theirs.append(sum(run(["hivexregedit", "--export", hive, key_of(hive)])[0] for hive in HIVES))
        if other:
            others.append(sum(run([other, "--hive", hive, "--format", "csv"])[0] for hive in HIVES))
    together = min(run([TOOL, *sum((["--hive", str(h)] for h in HIVES), []), "--format", "csv"])[0]
                   for _ in range(rounds))
    print(f"13 hives, best of {rounds} rounds, one process per hive:")
    print(f"  tallyglass-report          {min(ours) * 1000:8.1f} ms")
    print(f"  hivexregedit --export      {min(theirs) * 1000:8.1f} ms")
    print(f"  ratio                      {min(ours) / min(theirs):8.3f}")
    if other:
        print(f"  the build given            {min(others) * 1000:8.1f} ms, ratio {min(ours) / min(others):.3f}")
    print(f"  all 13 in one report       {together * 1000:8.1f} ms")

    largest = max(HIVES, key=lambda p: p.stat().st_size)
    _, ours_kib = run([TOOL, "--hive", largest, "--format", "json"])
    _, theirs_kib = run(["hivexregedit", "--export", largest, key_of(largest)])
    print(f"peak memory on the largest hive, {largest.name} ({largest.stat().st_size / 2**20:.1f} MiB):")
    print(f"  tallyglass-report          {ours_kib / 1024:8.1f} MiB")
    print(f"  hivexregedit --export      {theirs_kib / 1024:8.1f} MiB")

    print(f"dirty hives with their logs against --no-logs, best of {rounds}:")
    for hive in (PLAIN / "regipy/SYSTEM_B", PLAIN / "regipy/transactions_NTUSER.DAT"):
        replayed = best_of(rounds, [TOOL, "--hive", hive, "--format", "csv"])
        as_stored = best_of(rounds, [TOOL, "--hive", hive, "--no-logs", "--format", "csv"])
        print(f"  {hive.name:24} {replayed * 1000:7.1f} ms against {as_stored * 1000:7.1f} ms, "
              f"ratio {replayed / as_stored:.3f}")
    system = PLAIN / "regipy/SYSTEM_B"
    files = sum(p.stat().st_size for p in system.parent.glob("SYSTEM_B*"))
    _, kib = run([TOOL, "--hive", system, "--format", "csv"])
    print(f"peak memory replaying SYSTEM_B: {kib / 1024:.1f} MiB for {files / 2**20:.1f} MiB of hive and logs")


if __name__ == "__main__":
    main()
