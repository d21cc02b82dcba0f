#!/usr/bin/env python3
"""vpack's figures on a project shaped like a publisher's: many small files
and a few large ones. Pack throughput in MB/s against `gzip -9` of the same
bytes in the same run (the peer a publisher would compare with), with every
core and with one, and pack peak memory against the largest item. Medians of
several runs. Run at the end of scripts/bench.sh, which builds first."""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import time

from bench import base64_of_random, copy_runtime, text_like  # the same runtime and data as the stub's figures

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
WIN64 = os.path.join(BUILD, "win-x86_64")
VPACK = os.path.join(BUILD, "vpack", "vpack")
WORK = os.path.join(BUILD, "bench", "pack")
MB = 1000 * 1000
MIB = 1 << 20
# Peak memory of the vpack before large files were compressed in pieces, on
# the one-large-file project below (304 MB base64 of random bytes), measured
# with /usr/bin/time on 2026-12-09 on the 2-core build machine: 2 cores / 1 core.
BEFORE_ONE_LARGE_FILE_MIB = (736, 735)


def write_tree(small, small_size, large, large_size, data=text_like):
    """The project folder and its manifest; returns (manifest, sources).
    data(size, seed) makes each file's bytes."""
    shutil.rmtree(WORK, ignore_errors=True)
    content = os.path.join(WORK, "content")
    if small:  # vpack warns about an empty folder
        os.makedirs(os.path.join(content, "scenes"))
    os.makedirs(os.path.join(content, "media"))
    sources = []
    for i in range(small):
        path = os.path.join(content, "scenes", "s%05d.vdl" % i)
        with open(path, "wb") as out:
            out.write(data(small_size, i))
        sources.append(path)
    for i in range(large):
        path = os.path.join(content, "media", "m%d.vdl" % i)
        with open(path, "wb") as out:
            out.write(data(large_size, 1000 + i))
        sources.append(path)
    runtime = copy_runtime(os.path.join(WORK, "runtime"))
    # The run in place takes the viewer, the engine and its units only.
    for extra in ("VDLUnInst.exe", "VDLSvr.scr", "WinAmp.dll"):
        os.remove(os.path.join(runtime, extra))
    shutil.copy(os.path.join(ROOT, "sample", "tour", "content", "VDLStart.vdl"), runtime)
    manifest = os.path.join(WORK, "project.toml")
    with open(manifest, "w") as out:
        out.write('[settings]\nProjectType = 1\nCheckDx8 = false\n\n'
                  '[[folder]]\nsource = "runtime"\n\n[[folder]]\nsource = "content"\n')
    return manifest, sources


def run_measured(command, stdout=subprocess.DEVNULL, stdin=None):
    """Wall time and peak resident memory (bytes) of one process. The peak
    comes from /usr/bin/time: a child forked from this script would count
    the script's own memory from before its exec."""
    report = os.path.join(WORK, "time.txt")
    start = time.monotonic()
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + command, stdout=stdout, stdin=stdin, check=True)
    elapsed = time.monotonic() - start
    with open(report) as f:
        return elapsed, int(f.read().split()[-1]) * 1024


def pack(manifest, jobs, runs):
    output = os.path.join(WORK, "setup.exe")
    command = [VPACK, "pack", manifest, "-o", output, "--stub", os.path.join(WIN64, "app")]
    if jobs:
        command += ["--jobs", str(jobs)]
    measured = [run_measured(command) for _ in range(runs)]
    return statistics.median(m[0] for m in measured), max(m[1] for m in measured)


def gzip9(sources, runs):
    """gzip -9 of the same bytes, read from one stream as vpack reads them."""
    times = []
    for _ in range(runs):
        cat = subprocess.Popen(["cat"] + sources, stdout=subprocess.PIPE)
        elapsed, _ = run_measured(["gzip", "-9", "-c"], stdin=cat.stdout)
        cat.stdout.close()
        cat.wait()
        times.append(elapsed)
    return statistics.median(times)


def one_large_file_row(size_mb, cores):
    """Peak memory on a project of one large file that deflate packs only to
    three quarters, where holding the file and its output whole costs most.
    A measurement, not a timing: one run each."""
    manifest, _ = write_tree(0, 0, 1, size_mb * MB, base64_of_random)
    _, all_peak = pack(manifest, 0, 1)
    _, one_peak = pack(manifest, 1, 1)
    before_all, before_one = BEFORE_ONE_LARGE_FILE_MIB
    return ("Pack peak memory, one %d MB file, %d cores / 1 core" % (size_mb, cores),
            "%.0f / %.0f MiB; before pieces %d / %d MiB; bound %d x 64 MiB + 1.2 x file = %.0f MiB"
            % (all_peak / MIB, one_peak / MIB, before_all, before_one, cores, cores * 64 + 1.2 * size_mb * MB / MIB))


def random_bytes(size, seed):
    """Bytes deflate cannot shrink: the installer is as large as its project."""
    return random.Random(seed).randbytes(size)


def read_back(small, large_mib, runs):
    """Peak memory of list, verify and extract on an installer of the same
    shape whose files do not compress, so that it is as large as the project:
    what they hold must not grow with it. Returns (installer bytes, peaks)."""
    manifest, _ = write_tree(small, 8 * 1024, 4, large_mib * MIB, data=random_bytes)
    installer = os.path.join(BUILD, "bench", "read-back.exe")
    subprocess.run([VPACK, "pack", manifest, "-o", installer, "--stub", os.path.join(WIN64, "app")], check=True,
                   stdout=subprocess.DEVNULL)
    folder = os.path.join(BUILD, "bench", "read-back")
    peaks = []
    for command in (["list", installer], ["verify", installer], ["extract", installer, "-o", folder]):
        peak = 0
        for _ in range(runs):
            shutil.rmtree(folder, ignore_errors=True)
            peak = max(peak, run_measured([VPACK] + command)[1])
        peaks.append(peak)
    size = os.path.getsize(installer)
    shutil.rmtree(folder, ignore_errors=True)
    os.remove(installer)
    return size, peaks


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--small", type=int, default=2000, help="small files (8 KiB each)")
    parser.add_argument("--large-mib", type=int, default=50, help="size of each of the four large files")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--one-file-mb", type=int, default=304,
                        help="size of the one poorly compressible file of the memory row (0: no such row)")
    args = parser.parse_args()
    manifest, sources = write_tree(args.small, 8 * 1024, 4, args.large_mib * MIB)
    total = sum(os.path.getsize(s) for s in sources)
    largest = max(os.path.getsize(s) for s in sources)
    cores = os.cpu_count() or 1
    all_s, all_peak = pack(manifest, 0, args.runs)
    one_s, one_peak = pack(manifest, 1, args.runs)
    gzip_s = gzip9(sources, args.runs)
    read_size, read_peaks = read_back(args.small, args.large_mib, args.runs)
    rate = lambda seconds: total / MB / seconds
    rows = [
        ("Project packed", "%d files, %.0f MB; largest %.0f MB" % (len(sources), total / MB, largest / MB)),
        ("Pack, %d cores / 1 core / gzip -9" % cores,
         "%.1f / %.1f / %.1f MB/s: %.2fx / %.2fx gzip -9" % (rate(all_s), rate(one_s), rate(gzip_s),
                                                            gzip_s / all_s, gzip_s / one_s)),
        ("Pack peak memory, %d cores / 1 core" % cores,
         "%.0f / %.0f MiB; largest item %.0f MiB, bound 64 MiB + %d x largest = %.0f MiB"
         % (all_peak / MIB, one_peak / MIB, largest / MIB, cores, 64 + cores * largest / MIB)),
        ("list / verify / extract peak memory",
         "%.0f / %.0f / %.0f MiB for an installer of %.0f MB; bound 64 MiB"
         % (read_peaks[0] / MIB, read_peaks[1] / MIB, read_peaks[2] / MIB, read_size / MB)),
    ]
    if args.one_file_mb:
        rows.append(one_large_file_row(args.one_file_mb, cores))
    width = max(len(r[0]) for r in rows)
    print("| %s | %s |" % ("vpack figure".ljust(width), "Measured"))
    print("|-%s-|-%s-|" % ("-" * width, "-" * 8))
    for name, value in rows:
        print("| %s | %s |" % (name.ljust(width), value))
    shutil.rmtree(WORK, ignore_errors=True)


if __name__ == "__main__":
    main()
