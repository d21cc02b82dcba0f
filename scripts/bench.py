#!/usr/bin/env python3
"""The stub's figures: size, extraction throughput against a bare
inflate-and-write baseline, scaling with the number of items, start-up time
and peak memory. Each timing is the median of several runs and is given as a
ratio against a baseline measured in the same run, so that the figures hold
on a noisy machine. Run by scripts/bench.sh, which builds first."""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
WIN64 = os.path.join(BUILD, "win-x86_64")
WIN32 = os.path.join(BUILD, "win-i686")
RUN64 = os.path.join(BUILD, "wine", "run64")
VPACK = os.path.join(BUILD, "vpack", "vpack")
WORK = os.path.join(BUILD, "bench")
MIB = 1 << 20


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def text_like(size, seed):
    """Compressible data, roughly as project files pack: words and noise."""
    rng = random.Random(seed)
    words = [b"harbour ", b"quay ", b"tide ", b"lantern ", b"scene ", b"\r\n", b"vertex 0.125 ", b"frame "]
    chunk = b"".join(rng.choice(words) for _ in range(4096)) + bytes(rng.randrange(256) for _ in range(2048))
    return (chunk * (size // len(chunk) + 1))[:size]


def write_project(name, items, total, project_type=1):
    """A manifest of `items` engine-format project files of `total` bytes."""
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "files"))
    runtime = os.path.join(ROOT, "sample", "tour", "runtime")
    lines = ["[settings]", "ProjectType = %d" % project_type, "CheckDx8 = false", ""]
    def add(item, source, extra=""):
        lines.extend(["[[file]]", "name = '%s'" % item, 'source = "%s"' % source, extra, ""])
    add("VandrelViewer.exe", os.path.join(WIN64, "standins", "viewer", "VandrelViewer.exe"))
    add("Tessaron.dll", os.path.join(WIN64, "standins", "engine", "Tessaron.dll"))
    for unit in sorted(os.listdir(os.path.join(runtime, "channels"))):
        add("channels\\" + unit, os.path.join(runtime, "channels", unit))
    add("VDLStart.vdl", os.path.join(ROOT, "sample", "tour", "content", "VDLStart.txt"), 'store = "engine"')
    size = max(1, total // max(items, 1))
    data = text_like(size, 7)
    for i in range(items):
        path = os.path.join(folder, "files", "f%05d.txt" % i)
        with open(path, "wb") as out:
            out.write(data)
        add("data\\f%05d.vdl" % i, path, 'store = "engine"\nlist = "project"')
    manifest = os.path.join(folder, "project.toml")
    with open(manifest, "w") as out:
        out.write("\n".join(lines))
    installer = os.path.join(WORK, name + ".exe")
    subprocess.run([VPACK, "pack", manifest, "-o", installer, "--stub", os.path.join(WIN64, "app")], check=True,
                   stdout=subprocess.DEVNULL)
    shutil.rmtree(folder)
    return installer


def peak_kib(pid):
    """The largest resident size of a process and its children so far."""
    peak = 0
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            if int(fields[1]) != pid and int(entry) != pid:
                continue
            with open("/proc/%s/status" % entry) as status:
                for line in status:
                    if line.startswith("VmHWM:"):
                        peak = max(peak, int(line.split()[1]))
        except (OSError, IndexError, ValueError):
            pass
    return peak


def timed(command, watch=None):
    """Seconds the command took, and the peak memory of processes whose
    command line contains `watch`, sampled while it ran."""
    start = time.monotonic()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peak = 0
    while process.poll() is None:
        if watch:
            for entry in os.listdir("/proc"):
                if entry.isdigit():
                    try:
                        with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                            if watch.encode() in cmdline.read():
                                peak = max(peak, peak_kib(int(entry)))
                    except OSError:
                        pass
        time.sleep(0.02)
    if process.returncode != 0:
        sys.exit("bench: %s failed (%d)" % (" ".join(command), process.returncode))
    return time.monotonic() - start, peak


def median_time(command, runs, watch=None):
    results = [timed(command, watch) for _ in range(runs)]
    return statistics.median(r[0] for r in results), max(r[1] for r in results)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--mib", type=int, default=256, help="project size for the throughput figure")
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    os.makedirs(WORK, exist_ok=True)
    rows = []
    for variant in ("VandrelStub.exe", "VandrelStubAdmin.exe"):
        rows.append(("Stub size, i686, " + variant, "%d bytes (%.1f KiB)" % (
            os.path.getsize(os.path.join(WIN32, "app", variant)), os.path.getsize(os.path.join(WIN32, "app", variant)) / 1024)))

    big = write_project("throughput", 64, args.mib * MIB)
    stub_s, stub_peak = median_time([RUN64, windows(big)], args.runs, "throughput.exe")
    base_s, _ = median_time([RUN64, os.path.join(WIN64, "tests", "bench", "inflate_baseline.exe"), windows(big),
                             windows(os.path.join(WORK, "baseline-out"))], args.runs)
    shutil.rmtree(os.path.join(WORK, "baseline-out"), ignore_errors=True)
    rows.append(("Extraction, %d MiB in 64 files" % args.mib, "%.0f MB/s stub, %.0f MB/s baseline: %.2fx the baseline's time"
                 % (args.mib * MIB / stub_s / 1e6, args.mib * MIB / base_s / 1e6, stub_s / base_s)))
    largest = args.mib * MIB // 64
    rows.append(("Peak memory, largest item %d KiB stored+unpacked" % (largest * 2 // 1024),
                 "%d KiB resident" % stub_peak))

    few = write_project("items-100", 100, 64 * MIB)
    many = write_project("items-10000", 10000, 64 * MIB)
    few_s, _ = median_time([RUN64, windows(few)], args.runs)
    many_s, _ = median_time([RUN64, windows(many)], args.runs)
    rows.append(("64 MiB as 100 / 10,000 items", "%.2f s / %.2f s: per item %.1f ms / %.2f ms"
                 % (few_s, many_s, few_s / 100 * 1000, many_s / 10000 * 1000)))
    rows.append(("Per-item time, 10,000 items against 100", "%.2fx" % ((many_s / 10000) / (few_s / 100))))

    one = write_project("start-1", 0, 0, project_type=7)
    lots = write_project("start-10000", 10000, 10000, project_type=7)
    one_s, _ = median_time([RUN64, windows(one)], args.runs)
    lots_s, _ = median_time([RUN64, windows(lots)], args.runs)
    rows.append(("Start-up to exit, 12 / 10,012 items", "%.2f s / %.2f s: %.2fx" % (one_s, lots_s, lots_s / one_s)))

    width = max(len(r[0]) for r in rows)
    print("| %s | %s |" % ("Figure".ljust(width), "Measured"))
    print("|-%s-|-%s-|" % ("-" * width, "-" * 8))
    for name, value in rows:
        print("| %s | %s |" % (name.ljust(width), value))


if __name__ == "__main__":
    main()
