#!/usr/bin/env python3
"""Many small files at the speed of the disk: the stub installing silently
(/S /D=) against NSIS silent and against two bare loops of the benchmark's
own under the same Wine (tests/bench/FileLoop.cpp: create, write, close at
each name; and written beside each name, then renamed over it), on 4,096
files of 8 KiB, 64 files of 4 MiB and a project of one file. The sides take
turns into fresh folders; medians, and ratios within the run. --calls counts
the stub's fallible system calls per installed file instead, from its test
variant's seam log (docs/fault-sweep.md). Run after a build, with the Wine
fixture started (scripts/bench.sh does both)."""
import argparse
import collections
import os
import shutil
import statistics
import struct
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench  # noqa: E402  (the shared project and timing helpers)

KIB = 1024
SHAPES = [("4,096 files of 8 KiB", "small", 4096, 8 * KIB), ("64 files of 4 MiB", "large", 64, 4 * bench.MIB),
          ("one file of 8 KiB", "one", 1, 8 * KIB)]
SIDES = ("bare", "beside", "stub", "nsis")


def numbered(size, index):
    """Distinct files, so that NSIS stores each as ours does."""
    head = b"file %d\r\n" % index
    return head + bench.text_like(size, 7)[:size - len(head)]


def installers(tag, count, size, before):
    """Ours, NSIS's and, given another build of the stub, ours behind it."""
    target = os.path.join(bench.WORK, "files-target")
    ours = bench.write_project("files-" + tag, count, count * size, data=numbered, keep=True,
                               settings=bench.standalone_settings(os.path.join(target, "stub")))
    made = {"stub": ours, "nsis": bench.write_nsis("files-nsis-" + tag, os.path.join(bench.WORK, "files-" + tag,
                                                                                       "files"))}
    shutil.rmtree(os.path.join(bench.WORK, "files-" + tag))
    if before:
        made["before"] = os.path.join(bench.WORK, "files-before-" + tag + ".exe")
        shutil.copyfile(ours, made["before"])
        rebase(made["before"], before)
    return made


def rebase(installer, stub_path):
    """The same payload behind another build of the stub (a stub before a
    change, or the test variant): the trailer names where the payload
    begins."""
    with open(installer, "rb") as f:
        data = f.read()
    start = struct.unpack("<I", data[-4:])[0]
    with open(stub_path, "rb") as f:
        stub = f.read()
    with open(installer, "wb") as f:
        f.write(stub + data[start:-4] + struct.pack("<I", len(stub)))


def one_run(side, shape, made, target):
    shutil.rmtree(target, ignore_errors=True)
    os.makedirs(target)
    # What the side before wrote goes to the disk now, not while this side
    # runs: no side pays for another's files.
    os.sync()
    time.sleep(1)
    folder = bench.windows(os.path.join(target, side))
    _, _, count, size = shape
    if side in ("bare", "beside"):
        loop = os.path.join(bench.WIN64, "tests", "bench", "file_loop.exe")
        return bench.timed([bench.RUN64, loop, side, folder, str(count), str(size)])[0]
    installer = made[side]
    return bench.timed([bench.RUN64, bench.windows(installer), "/S", "/D=" + folder])[0]


def speed_rows(runs, before, only):
    rows = []
    target = os.path.join(bench.WORK, "files-target")
    sides = SIDES + (("before",) if before else ())
    for shape in [s for s in SHAPES if only in (None, s[1])]:
        label, tag, count, size = shape
        made = installers(tag, count, size, before)
        times = {side: [] for side in sides}
        for side in sides:  # once unmeasured: Wine reads its DLLs and the programs
            one_run(side, shape, made, target)
        for _ in range(runs):
            for side in sides:
                times[side].append(one_run(side, shape, made, target))
        t = {side: statistics.median(times[side]) for side in sides}
        rows.append((label, "bare loop %.3f s, beside-and-rename loop %.3f s, stub silent %.3f s, NSIS silent "
                     "%.3f s: stub **%.2fx** NSIS, %.2fx the bare loop" % (t["bare"], t["beside"], t["stub"],
                                                                         t["nsis"], t["stub"] / t["nsis"],
                                                                         t["stub"] / t["bare"])))
        if before:
            rows.append((label + ", the stub before", "%.3f s: %.2fx NSIS" % (t["before"], t["before"] / t["nsis"])))
    shutil.rmtree(target, ignore_errors=True)
    return rows


def seam_calls(installer, folder, log):
    if os.path.exists(log):
        os.remove(log)
    env = dict(os.environ, VDL_FAULT_LOG=bench.windows(log))
    subprocess.run([bench.RUN64, bench.windows(installer), "/S", "/D=" + bench.windows(folder)], env=env,
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(log) as f:
        return collections.Counter(line.split()[1] for line in f if len(line.split()) > 1)


def calls_rows(faults_stub):
    """Seam calls per file: the difference between projects of 256 and 512
    files of 8 KiB, fresh and over the same installation again."""
    target = os.path.join(bench.WORK, "files-calls")
    log = os.path.join(bench.WORK, "files-calls.log")
    counts = {}
    for n in (256, 512):
        installer = bench.write_project("calls-%d" % n, n, n * 8 * KIB, data=numbered,
                                        settings=bench.standalone_settings(target))
        rebase(installer, faults_stub)
        shutil.rmtree(target, ignore_errors=True)
        counts[n, "fresh"] = seam_calls(installer, os.path.join(target, "x"), log)
        counts[n, "over"] = seam_calls(installer, os.path.join(target, "x"), log)
    shutil.rmtree(target, ignore_errors=True)
    rows = []
    for run in ("fresh", "over"):
        more = counts[512, run] - counts[256, run]
        per = ", ".join("%s %.2f" % (name, more[name] / 256) for name in sorted(more))
        rows.append(("Seam calls per file, %s" % run, "%.2f: %s; whole run of 256 files %d calls"
                     % (sum(more.values()) / 256, per, sum(counts[256, run].values()))))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--before", help="another build of VandrelStubAdmin.exe (x86_64), e.g. one before a change, "
                        "measured beside the current one")
    parser.add_argument("--calls", metavar="FAULTS_STUB", nargs="?", const=os.path.join(
        bench.WIN64, "app", "VandrelStubFaults.exe"), help="count seam calls per file with this test variant")
    parser.add_argument("--only", choices=[shape[1] for shape in SHAPES], help="one of the three projects")
    args = parser.parse_args()
    os.makedirs(bench.WORK, exist_ok=True)
    rows = calls_rows(args.calls) if args.calls else speed_rows(args.runs, args.before, args.only)
    print("| Figure | Measured |\n|---|---|")
    for name, value in rows:
        print("| %s | %s |" % (name, value))


if __name__ == "__main__":
    main()
