#!/usr/bin/env python3
"""The stub's figures: size, extraction throughput against a bare
inflate-and-write baseline, scaling with the number of items, start-up time,
peak memory, and a standalone installation against NSIS installing the same
files. Each timing is the median of several runs and is given as a
ratio against a baseline measured in the same run, so that the figures hold
on a noisy machine. Run by scripts/bench.sh, which builds first."""
import argparse
import base64
import json
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
SETTLE_S = 3


def windows(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def text_like(size, seed):
    """Compressible data, roughly as project files pack: words and noise."""
    rng = random.Random(seed)
    words = [b"harbour ", b"quay ", b"tide ", b"lantern ", b"scene ", b"\r\n", b"vertex 0.125 ", b"frame "]
    chunk = b"".join(rng.choice(words) for _ in range(4096)) + bytes(rng.randrange(256) for _ in range(2048))
    return (chunk * (size // len(chunk) + 1))[:size]


def base64_of_random(size, seed):
    """Poorly compressible text: base64 of random bytes, which deflate packs
    only to about three quarters."""
    raw = random.Random(seed).randbytes(size * 3 // 4 + 64)
    return base64.encodebytes(raw)[:size]


def standalone_settings(target):
    """Settings of a standalone installation (project type 2) into target."""
    return ["ProjectType = 2", "CheckDx8 = false", "RunAfterInstall = false", "InstallPath = '%s'" % windows(target),
            "ShortCutName = '\\Vandrel Bench\\Bench'", "ProjectName = 'Vandrel Bench'"]


def copy_runtime(folder):
    """The x86_64 build's program files, laid out as the samples take them."""
    subprocess.run(["bash", os.path.join(ROOT, "scripts", "copy-runtime.sh"), WIN64, folder], check=True)
    return folder


def write_project(name, items, total, project_type=1, settings=None, data=None, keep=False):
    """A manifest of `items` engine-format project files of `total` bytes,
    with the viewer, the engine and its channels. settings replaces the
    project type's; data(size, index) makes file index; keep leaves the
    project files in WORK/name/files."""
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "files"))
    runtime = copy_runtime(os.path.join(folder, "runtime"))
    lines = ["[settings]"] + (settings or ["ProjectType = %d" % project_type, "CheckDx8 = false"]) + [""]
    def add(item, source, extra=""):
        lines.extend(["[[file]]", "name = '%s'" % item, 'source = "%s"' % source, extra, ""])
    add("VandrelViewer.exe", os.path.join(runtime, "VandrelViewer.exe"))
    add("Tessaron.dll", os.path.join(runtime, "Tessaron.dll"))
    for unit in sorted(os.listdir(os.path.join(runtime, "channels"))):
        add("channels\\" + unit, os.path.join(runtime, "channels", unit))
    add("VDLStart.vdl", os.path.join(ROOT, "sample", "tour", "content", "VDLStart.vdl"), 'store = "engine"')
    if settings:
        add("VDLUnInst.exe", os.path.join(runtime, "VDLUnInst.exe"))
    size = max(1, total // max(items, 1))
    same = text_like(size, 7) if data is None else None
    for i in range(items):
        path = os.path.join(folder, "files", "f%05d.txt" % i)
        with open(path, "wb") as out:
            out.write(same if data is None else data(size, i))
        add("data\\f%05d.vdl" % i, path, 'store = "engine"\nlist = "project"')
    manifest = os.path.join(folder, "project.toml")
    with open(manifest, "w") as out:
        out.write("\n".join(lines))
    installer = os.path.join(WORK, name + ".exe")
    subprocess.run([VPACK, "pack", manifest, "-o", installer, "--stub", os.path.join(WIN64, "app")], check=True,
                   stdout=subprocess.DEVNULL)
    if not keep:
        shutil.rmtree(folder)
    return installer


def listing(installer):
    """vpack's description of an installer's items."""
    out = subprocess.run([VPACK, "list", "--json", installer], check=True, capture_output=True, text=True).stdout
    return json.loads(out)["items"]


def item_count(installer):
    return len(listing(installer))


def largest_stored(installer):
    """The stored size of the largest project file."""
    return max(item["size"] for item in listing(installer) if item["name"].startswith("data\\"))


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
    return summary([timed(command, watch) for _ in range(runs)])


def size_rows():
    rows = []
    for variant in ("VandrelStub.exe", "VandrelStubAdmin.exe"):
        size = os.path.getsize(os.path.join(WIN32, "app", variant))
        rows.append(("Stub size, i686, " + variant, "%d bytes (%.1f KiB)" % (size, size / 1024)))
    return rows


def summary(results):
    """The median time and the largest peak of (seconds, peak) results."""
    return statistics.median(r[0] for r in results), max(r[1] for r in results)


def throughput_rows(mib, runs):
    big = write_project("throughput", 64, mib * MIB)
    empty = write_project("empty", 0, 0)
    baseline = os.path.join(WIN64, "tests", "bench", "inflate_baseline.exe")
    out = os.path.join(WORK, "baseline-out")
    # The stub and the baseline take turns and start alike: the baseline
    # writes new files, as the stub does, and each run waits a moment after
    # the last removal. On a virtual machine, memory just freed (the stub's
    # removed files, the baseline's removed output) costs far less to fill
    # again than memory the host has had time to take back; without the wait
    # that would favour whichever program runs right after a removal.
    def stub_run(installer):
        time.sleep(SETTLE_S)
        return timed([RUN64, windows(installer)], os.path.basename(installer))
    def base_run(installer):
        shutil.rmtree(out, ignore_errors=True)
        time.sleep(SETTLE_S)
        return timed([RUN64, baseline, windows(installer), windows(out)])
    results = {"stub": [], "base": [], "empty stub": [], "empty base": []}
    for _ in range(runs):
        results["stub"].append(stub_run(big))
        results["base"].append(base_run(big))
        results["empty stub"].append(stub_run(empty))
        results["empty base"].append(base_run(empty))
    shutil.rmtree(out, ignore_errors=True)
    (stub_s, stub_peak), (base_s, _) = summary(results["stub"]), summary(results["base"])
    (empty_stub_s, empty_peak), (empty_base_s, _) = summary(results["empty stub"]), summary(results["empty base"])
    size = mib * MIB
    stored = largest_stored(big)
    # The run without the project files shows the fixed costs of either
    # program: the stub's window, engine, viewer and clean-up; the processes.
    return [
        ("Extraction, %d MiB in 64 files" % mib, "%.0f MB/s stub, %.0f MB/s baseline: %.2fx the baseline's time"
         % (size / stub_s / 1e6, size / base_s / 1e6, stub_s / base_s)),
        ("The same project without its %d MiB" % mib, "%.2f s stub, %.2f s baseline" % (empty_stub_s, empty_base_s)),
        ("Extraction less that, %d MiB" % mib, "%.0f MB/s stub, %.0f MB/s baseline: %.2fx the baseline's time"
         % (size / (stub_s - empty_stub_s) / 1e6, size / (base_s - empty_base_s) / 1e6,
            (stub_s - empty_stub_s) / (base_s - empty_base_s))),
        ("Peak memory, largest item %d KiB stored + %d KiB unpacked" % (stored // 1024, size // 64 // 1024),
         "%d KiB resident; %d KiB without the project files" % (stub_peak, empty_peak)),
    ]


def scaling_rows(runs):
    few = write_project("items-100", 100, 64 * MIB)
    many = write_project("items-10000", 10000, 64 * MIB)
    few_s, _ = median_time([RUN64, windows(few)], runs)
    many_s, _ = median_time([RUN64, windows(many)], runs)
    return [
        ("64 MiB as 100 / 10,000 items", "%.2f s / %.2f s: per item %.1f ms / %.2f ms"
         % (few_s, many_s, few_s / 100 * 1000, many_s / 10000 * 1000)),
        ("Per-item time, 10,000 items against 100", "%.2fx" % ((many_s / 10000) / (few_s / 100))),
    ]


def startup_rows(runs):
    """Start-up as a user waits for it: from the start of a standalone
    installer to its options dialog, the first window of a real flow."""
    settings = standalone_settings(os.path.join(WORK, "start-target"))
    one = write_project("start-few", 0, 0, settings=settings)
    lots = write_project("start-many", 5000, 5000, settings=settings)
    one_s = statistics.median(driven(["--first-window", windows(one)]) for _ in range(runs))
    lots_s = statistics.median(driven(["--first-window", windows(lots)]) for _ in range(runs))
    return [("Start-up to the options dialog, %d / %d items" % (item_count(one), item_count(lots)),
             "%.2f s / %.2f s: %.2fx" % (one_s, lots_s, lots_s / one_s))]


def write_nsis(name, files):
    """NSIS's installer of the same files: zlib, its 64-bit stub, files one by
    one into the folder given with /D, as our stub writes them."""
    script = os.path.join(WORK, name + ".nsi")
    installer = os.path.join(WORK, name + ".exe")
    lines = ["Unicode true", "Target amd64-unicode", "SetCompressor zlib", "RequestExecutionLevel user",
             'Name "Vandrel Bench"', 'OutFile "%s"' % installer, 'InstallDir "C:\\VandrelBench"',
             "Section", '  SetOutPath "$INSTDIR\\data"']
    for source in sorted(os.listdir(files)):
        lines.append('  File "/oname=%s" "%s"' % (source.replace(".txt", ".vdl"), os.path.join(files, source)))
    lines.append("SectionEnd")
    with open(script, "w") as out:
        out.write("\n".join(lines) + "\n")
    subprocess.run(["makensis", "-V1", script], check=True, stdout=subprocess.DEVNULL)
    return installer


def driven(command):
    """Seconds that InstallDriver timed for one run: from the start of the
    installer to its end, clicks included, or to its first window."""
    driver = os.path.join(WIN64, "tests", "bench", "install_driver.exe")
    result = subprocess.run([RUN64, driver] + command, capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit("bench: %s failed: %s%s" % (" ".join(command), result.stdout, result.stderr))
    return float(result.stdout.split()[-1])


def peer_rows(mib, runs):
    """Our standalone installation, clicked through, against NSIS installing
    the same 64 files silently; the two take turns on each kind of data."""
    rows = []
    kinds = [("poorly compressible (base64 of random bytes)", "base64", lambda size, i: base64_of_random(size, i)),
             ("highly compressible text", "text", None)]
    for label, tag, data in kinds:
        target = os.path.join(WORK, "peer-target")
        ours = write_project("peer-" + tag, 64, mib * MIB, settings=standalone_settings(os.path.join(target, "stub")),
                             data=data, keep=True)
        theirs = write_nsis("peer-nsis-" + tag, os.path.join(WORK, "peer-" + tag, "files"))
        shutil.rmtree(os.path.join(WORK, "peer-" + tag))
        times = {"stub": [], "nsis": []}
        for _ in range(runs):
            for side in ("stub", "nsis"):
                shutil.rmtree(target, ignore_errors=True)
                time.sleep(SETTLE_S)
                command = [windows(ours)] if side == "stub" else [windows(theirs), "/S",
                                                                   "/D=" + windows(os.path.join(target, "nsis"))]
                times[side].append(driven(command))
        shutil.rmtree(target, ignore_errors=True)
        stub_s, nsis_s = statistics.median(times["stub"]), statistics.median(times["nsis"])
        rows.append(("Standalone installation against NSIS, %d MiB %s" % (mib, label),
                     "%.2f s stub, %.2f s NSIS: %.2fx NSIS's time (payload %.1f MB / %.1f MB)"
                     % (stub_s, nsis_s, stub_s / nsis_s, os.path.getsize(ours) / 1e6, os.path.getsize(theirs) / 1e6)))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--mib", type=int, default=256, help="project size for the throughput figure")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", choices=["peer", "startup"], help="only the comparison with NSIS, or the start-up")
    args = parser.parse_args()
    os.makedirs(WORK, exist_ok=True)
    if args.only == "peer":
        rows = peer_rows(args.mib, max(args.runs, 3))
    elif args.only == "startup":
        rows = startup_rows(args.runs)
    else:
        rows = (size_rows() + throughput_rows(args.mib, args.runs) + scaling_rows(args.runs) + startup_rows(args.runs)
                + peer_rows(args.mib, max(args.runs, 3)))
    width = max(len(r[0]) for r in rows)
    print("| %s | %s |" % ("Figure".ljust(width), "Measured"))
    print("|-%s-|-%s-|" % ("-" * width, "-" * 8))
    for name, value in rows:
        print("| %s | %s |" % (name.ljust(width), value))


if __name__ == "__main__":
    main()
