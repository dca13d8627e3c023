#!/usr/bin/python3
"""Times tallyglass-report --dir on a made-up tree of many profiles against a
loop that runs the tool once per hive, and against a loop of hivexregedit
--export of the UserAssist key of each; then its peak memory on trees of
several sizes, which must not grow with the number of files. The tree is made
of hard links to the 13 real hives (the dirty one with its logs). Run by
hand, from the worktree, after building the host preset:

    /usr/bin/python3 bench/tree_bench.py [FILES [SCRATCH]]    defaults: 1000, build/tree-bench
"""
import os
import shutil
import sys
import time
from pathlib import Path

from report_bench import HIVES, PLAIN, TOOL, key_of, run


def make_tree(root, files):
    shutil.rmtree(root, ignore_errors=True)
    made = []
    for i in range(files):
        hive = HIVES[i % len(HIVES)]
        profile = root / f"host{i // 50:03}" / "Users" / f"user{i:04}"
        profile.mkdir(parents=True)
        target = profile / "NTUSER.DAT"
        os.link(hive, target)
        if hive.name.startswith("transactions_"):
            for log in ("log1", "log2"):
                os.link(PLAIN / "regipy" / f"transactions_ntuser.dat.{log}", f"{target}.{log.upper()}")
        made.append((target, hive))
    return made


def timed(commands):
    start = time.perf_counter()
    for command in commands:
        run(command)
    return time.perf_counter() - start


def main():
    files = int(sys.argv[1]) if len(sys.argv) > 1 else 1000
    scratch = Path(sys.argv[2]) if len(sys.argv) > 2 else TOOL.parents[3] / "tree-bench"
    made = make_tree(scratch, files)
    print(f"{files} hive files under {scratch}")
    walk = timed([[TOOL, "--dir", scratch, "--format", "json"]])
    per_file = timed([[TOOL, "--hive", target, "--format", "json"] for target, _ in made])
    hivex = timed([["hivexregedit", "--export", target, key_of(hive)] for target, hive in made])
    print(f"--dir: {walk:.2f} s; one run per file: {per_file:.2f} s; ratio {walk / per_file:.3f}")
    print(f"hivexregedit --export per file: {hivex:.2f} s; ratio {walk / hivex:.4f}")
    for size in (files // 10, files // 2, files):
        make_tree(scratch, size)
        _, peak = run([TOOL, "--dir", scratch, "--format", "json"])
        print(f"peak memory of --dir over {size} files: {peak / 1024:.1f} MiB")
    shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
