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
import zlib

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


def copy_runtime(folder, win=WIN64):
    """A build's program files, laid out as the samples take them."""
    subprocess.run(["bash", os.path.join(ROOT, "scripts", "copy-runtime.sh"), win, folder], check=True)
    return folder


def write_project(name, items, total, project_type=1, settings=None, data=None, keep=False, win=WIN64,
                  stored=False):
    """A manifest of `items` engine-format project files of `total` bytes,
    with the viewer, the engine and its channels. settings replaces the
    project type's; data(size, index) makes file index; keep leaves the
    project files in WORK/name/files; win is the build whose stub and
    programs it takes; stored makes them ".cgr" files stored raw (vpack
    warns), which the installer copies byte for byte."""
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "files"))
    runtime = copy_runtime(os.path.join(folder, "runtime"), win)
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
        if stored:
            add("data\\f%05d.cgr" % i, path, 'store = "raw"\nlist = "project"')
        else:
            add("data\\f%05d.vdl" % i, path, 'store = "engine"\nlist = "project"')
    manifest = os.path.join(folder, "project.toml")
    with open(manifest, "w") as out:
        out.write("\n".join(lines))
    installer = os.path.join(WORK, name + ".exe")
    subprocess.run([VPACK, "pack", manifest, "-o", installer, "--stub", os.path.join(win, "app")], check=True,
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
    # Waited for rather than polled, so that the end is timed as it comes and
    # not at the next 20 ms tick: a one-file installation takes about 0.1 s.
    while True:
        if watch:
            for entry in os.listdir("/proc"):
                if entry.isdigit():
                    try:
                        with open("/proc/%s/cmdline" % entry, "rb") as cmdline:
                            if watch.encode() in cmdline.read():
                                peak = max(peak, peak_kib(int(entry)))
                    except OSError:
                        pass
        try:
            process.wait(timeout=0.02)
            break
        except subprocess.TimeoutExpired:
            pass
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


def write_nsis(name, files, pages=False):
    """NSIS's installer of the same files: zlib, its 64-bit stub, files one by
    one into the folder given with /D, as our stub writes them. With pages it
    shows its folder page and its progress page, as ours shows its dialog
    and progress window, and closes itself at the end."""
    script = os.path.join(WORK, name + ".nsi")
    installer = os.path.join(WORK, name + ".exe")
    lines = ["Unicode true", "Target amd64-unicode", "SetCompressor zlib", "RequestExecutionLevel user",
             'Name "Vandrel Bench"', 'OutFile "%s"' % installer, 'InstallDir "C:\\VandrelBench"']
    if pages:
        lines += ["Page directory", "Page instfiles", "AutoCloseWindow true"]
    lines += ["Section", '  SetOutPath "$INSTDIR\\data"']
    for source in sorted(os.listdir(files)):
        lines.append('  File "/oname=%s" "%s"' % (source.replace(".txt", ".vdl"), os.path.join(files, source)))
    lines.append("SectionEnd")
    with open(script, "w") as out:
        out.write("\n".join(lines) + "\n")
    subprocess.run(["makensis", "-V1", script], check=True, stdout=subprocess.DEVNULL)
    return installer


def driven(command, target=None):
    """Seconds that InstallDriver timed for one run: from the start of the
    installer to its end, clicks included, or to its first window."""
    return driven_phases(command, target)[0]


def driven_phases(command, target=None):
    """InstallDriver's figures for one run: the total, and the seconds from
    the newest file below target (a folder) to the end."""
    driver = os.path.join(WIN64, "tests", "bench", "install_driver.exe")
    env = dict(os.environ, VDL_BENCH_TARGET=windows(target)) if target else None
    result = subprocess.run([RUN64, driver] + command, capture_output=True, text=True, env=env)
    if result.returncode != 0:
        sys.exit("bench: %s failed: %s%s" % (" ".join(command), result.stdout, result.stderr))
    figures = [float(word) for word in result.stdout.split()]
    return figures[0], figures[1] if len(figures) > 1 else 0.0


PEER_SIDES = ("stub", "nsis silent", "nsis pages", "bare")


def peer_installers(tag, total, data, target):
    """Ours, NSIS silent and NSIS with its pages, of the same 64 files."""
    ours = write_project("peer-" + tag, 64, total, settings=standalone_settings(os.path.join(target, "stub")),
                         data=data, keep=True)
    files = os.path.join(WORK, "peer-" + tag, "files")
    silent = write_nsis("peer-nsis-" + tag, files)
    pages = write_nsis("peer-nsis-pages-" + tag, files, pages=True)
    shutil.rmtree(os.path.join(WORK, "peer-" + tag))
    return {"stub": ours, "nsis silent": silent, "nsis pages": pages, "bare": ours}


def peer_run(side, installer, target):
    """One run of one side into a fresh folder: (total, closing work)."""
    shutil.rmtree(target, ignore_errors=True)
    time.sleep(SETTLE_S)
    folder = os.path.join(target, side.replace(" ", "-"))
    if side == "bare":
        os.makedirs(target)
        baseline = os.path.join(WIN64, "tests", "bench", "inflate_baseline.exe")
        return timed([RUN64, baseline, windows(installer), windows(folder)])[0], 0.0
    if side == "stub":
        return driven_phases([windows(installer)], os.path.join(target, "stub"))
    command = [windows(installer), "/D=" + windows(folder)]
    return driven_phases(command[:1] + ["/S"] + command[1:] if side == "nsis silent" else command)


def peer_times(installers, target, runs):
    """Median (total, closing work) of each side, the sides taking turns."""
    results = {side: [] for side in PEER_SIDES}
    # The first run of each side in a session reads its programs and Wine's
    # DLLs from disk and was measured at up to three times a later one; the
    # side that happens to go first would carry it alone.
    for side in PEER_SIDES:
        peer_run(side, installers[side], target)
    for _ in range(runs):
        for side in PEER_SIDES:
            results[side].append(peer_run(side, installers[side], target))
    shutil.rmtree(target, ignore_errors=True)
    return {side: (statistics.median(r[0] for r in results[side]), statistics.median(r[1] for r in results[side]))
            for side in PEER_SIDES}


def peer_rows(mib, runs):
    """Our standalone installation, clicked through, against NSIS installing
    the same 64 files silently and with its pages clicked by the same driver;
    the same installers with one-byte files give each side's fixed cost, and
    a bare inflate-and-write of the same items the physical limit."""
    rows = []
    kinds = [("poorly compressible (base64 of random bytes)", "base64", lambda size, i: base64_of_random(size, i)),
             ("highly compressible text", "text", None)]
    target = os.path.join(WORK, "peer-target")
    fixed = peer_times(peer_installers("fixed", 64, None, target), target, runs)
    for label, tag, data in kinds:
        full = peer_times(peer_installers(tag, mib * MIB, data, target), target, runs)
        rows.extend(peer_kind_rows("%d MiB %s" % (mib, label), full, fixed))
    rows.append(("Fixed cost: the same installations of 64 one-byte files",
                 "%.2f s stub, %.2f s NSIS silent, %.2f s NSIS with its pages, %.2f s bare; closing work of ours "
                 "(newest file to the end) %.2f s" % (fixed["stub"][0], fixed["nsis silent"][0],
                                                      fixed["nsis pages"][0], fixed["bare"][0], fixed["stub"][1])))
    return rows


def peer_kind_rows(label, full, fixed):
    stub, silent, pages, bare = (full[side][0] for side in PEER_SIDES)
    part = {side: full[side][0] - fixed[side][0] for side in PEER_SIDES}
    return [
        ("Standalone installation, %s" % label,
         "%.2f s stub; NSIS silent %.2f s: **%.2fx**; NSIS with its pages %.2f s: **%.2fx**"
         % (stub, silent, stub / silent, pages, stub / pages)),
        ("The same less each side's fixed cost",
         "%.2f s stub; NSIS silent %.2f s: %.2fx; with its pages %.2f s: %.2fx; bare inflate and write %.2f s: "
         "**%.2fx** the bare time" % (part["stub"], part["nsis silent"], part["stub"] / part["nsis silent"],
                                      part["nsis pages"], part["stub"] / part["nsis pages"], part["bare"],
                                      part["stub"] / part["bare"])),
        ("Closing work of ours, newest file to the end", "%.2f s of %.2f s" % (full["stub"][1], stub)),
    ]


LARGE_CRC = [0]


def large_file(size, index):
    """Text of exactly size bytes; its CRC is kept to check the copy."""
    line = b"the harbour at dusk, frame by frame\r\n"
    data = (line * (size // len(line) + 1))[:size]
    LARGE_CRC[0] = zlib.crc32(data)
    return data


def large_rows(mib):
    """One stored project file of `mib` MiB, run in place by each build: the
    time, the peak memory of the installer's process, and whether the viewer
    found the file whole. Where an item is held whole, the 32-bit build
    cannot install such a file at all."""
    rows = []
    for arch, win, wine in (("x86_64", WIN64, [RUN64]), ("i686", WIN32, ["/usr/lib/wine/wine"])):
        installer = write_project("large-" + arch, 1, mib * MIB, win=win, stored=True, data=large_file)
        log = os.path.join(WORK, "large-viewer.log")
        if os.path.exists(log):
            os.remove(log)
        env = dict(os.environ, VDL_VIEWER_LOG=windows(log), WINEPREFIX=os.path.join(BUILD, "wine", "prefix"))
        with open(os.path.join(BUILD, "wine", "display")) as display:
            env["DISPLAY"] = display.read().strip()
        start = time.monotonic()
        process = subprocess.Popen(wine + [windows(installer)], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        peak = 0
        while process.poll() is None:
            peak = max(peak, peak_kib(process.pid))
            time.sleep(0.05)
        seconds = time.monotonic() - start
        seen = open(log, errors="replace").read() if os.path.exists(log) else ""
        whole = ("data\\f00000.cgr %d %08X" % (mib * MIB, LARGE_CRC[0])) in seen
        rows.append(("One stored file of %d MiB run in place, %s" % (mib, arch),
                     "%s; %.1f s; peak %d KiB resident" % ("installed whole" if whole else "NOT installed",
                                                          seconds, peak)))
        os.remove(installer)
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--mib", type=int, default=256, help="project size for the throughput figure")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--only", choices=["peer", "startup", "large"],
                        help="only the comparison with NSIS, the start-up, or the one large file")
    parser.add_argument("--large-mib", type=int, default=1536, help="size of the one large stored file")
    args = parser.parse_args()
    os.makedirs(WORK, exist_ok=True)
    if args.only == "peer":
        rows = peer_rows(args.mib, max(args.runs, 3))
    elif args.only == "startup":
        rows = startup_rows(args.runs)
    elif args.only == "large":
        rows = large_rows(args.large_mib)
    else:
        rows = (size_rows() + throughput_rows(args.mib, args.runs) + scaling_rows(args.runs) + startup_rows(args.runs)
                + peer_rows(args.mib, max(args.runs, 3)) + large_rows(args.large_mib))
    width = max(len(r[0]) for r in rows)
    print("| %s | %s |" % ("Figure".ljust(width), "Measured"))
    print("|-%s-|-%s-|" % ("-" * width, "-" * 8))
    for name, value in rows:
        print("| %s | %s |" % (name.ljust(width), value))


if __name__ == "__main__":
    main()
