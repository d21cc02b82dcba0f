#!/usr/bin/env python3
"""What reading back an earlier installation's list costs: a standalone
project of 20,000 small files installed silently, then installed again over
itself twice, once with the list beside the record there (its 20,000 lines
merged into the new record) and once with the list taken away (nothing to
merge), in turns. The difference of the medians is the merge's share of the
run. --before runs the same with another build of VandrelStubAdmin.exe
(x86_64), for example one from before a change. Run after a build, with the
Wine fixture started (scripts/bench.sh does both)."""
import argparse
import os
import shutil
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench  # noqa: E402  (the shared project and timing helpers)
bench_files = __import__("bench-files")  # noqa: E402  (rebase)

FILES = 20000


def trial(installer, target, runs):
    """Medians of the reinstallation with and without the list."""
    folder = bench.windows(target)
    shutil.rmtree(target, ignore_errors=True)
    bench.timed([bench.RUN64, bench.windows(installer), "/S", "/D=" + folder])
    times = {"with": [], "without": []}
    for _ in range(runs):
        for side in ("with", "without"):
            if side == "without":
                os.remove(os.path.join(target, "uninstall.lst"))
            os.sync()
            times[side].append(bench.timed([bench.RUN64, bench.windows(installer), "/S", "/D=" + folder])[0])
    return {side: statistics.median(values) for side, values in times.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--before", help="another build of VandrelStubAdmin.exe (x86_64)")
    args = parser.parse_args()
    target = os.path.join(bench.WORK, "merge-target")
    installer = bench.write_project("merge", FILES, FILES * 64, settings=bench.standalone_settings(target))
    stubs = {"now": installer}
    if args.before:
        stubs["before"] = os.path.join(bench.WORK, "merge-before.exe")
        shutil.copyfile(installer, stubs["before"])
        bench_files.rebase(stubs["before"], args.before)
    print("| Stub | Reinstallation with the list | Without | The merge |")
    print("|---|---|---|---|")
    for name, made in stubs.items():
        medians = trial(made, target, args.runs)
        print("| %s | %.2f s | %.2f s | %.2f s |" % (name, medians["with"], medians["without"],
                                                 medians["with"] - medians["without"]))
        sys.stdout.flush()
    shutil.rmtree(target, ignore_errors=True)


if __name__ == "__main__":
    main()
