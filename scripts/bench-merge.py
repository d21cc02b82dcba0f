#!/usr/bin/env python3
"""What reading back an earlier installation's list costs: a standalone
project of 20,000 small files is installed silently once; then a version of
one file is installed over it, in turns with the earlier list beside the
record (its 20,000 lines merged into the new record) and with the list
taken away (nothing to merge). The one-file installation's own work is
small, so the difference of the medians is the merge's time. --before runs
the same with another build of VandrelStubAdmin.exe (x86_64), for example
one from before a change. Run after a build, with the Wine fixture started
(scripts/bench.sh does both)."""
import argparse
import os
import shutil
import statistics
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bench  # noqa: E402  (the shared project and timing helpers)
bench_files = __import__("bench-files")  # noqa: E402  (rebase)

FILES = 20000


def install(installer, folder):
    return bench.timed([bench.RUN64, bench.windows(installer), "/S", "/D=" + bench.windows(folder)])[0]


def trial(full, upgrade, target, runs):
    """Medians of the one-file upgrade with and without the earlier list."""
    shutil.rmtree(target, ignore_errors=True)
    install(full, target)
    listed = os.path.join(target, "uninstall.lst")
    earlier = os.path.join(bench.WORK, "merge-earlier.lst")
    shutil.copyfile(listed, earlier)
    times = {"with": [], "without": []}
    for _ in range(runs):
        for side in ("with", "without"):
            if side == "with":
                shutil.copyfile(earlier, listed)
            else:
                os.remove(listed)
            os.sync()
            times[side].append(install(upgrade, target))
    return {side: statistics.median(values) for side, values in times.items()}


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--before", help="another build of VandrelStubAdmin.exe (x86_64)")
    args = parser.parse_args()
    target = os.path.join(bench.WORK, "merge-target")
    settings = bench.standalone_settings(target)
    made = {"now": (bench.write_project("merge-full", FILES, FILES * 64, settings=settings),
                    bench.write_project("merge-one", 1, 64, settings=settings))}
    if args.before:
        before = []
        for name, installer in zip(("full", "one"), made["now"]):
            copy = os.path.join(bench.WORK, "merge-before-%s.exe" % name)
            shutil.copyfile(installer, copy)
            bench_files.rebase(copy, args.before)
            before.append(copy)
        made["before"] = tuple(before)
    print("%d files installed, then one file over them; medians of %d" % (FILES, args.runs))
    print("| Stub | Upgrade with the earlier list | Without | The merge |")
    print("|---|---|---|---|")
    for name, (full, upgrade) in made.items():
        medians = trial(full, upgrade, target, args.runs)
        print("| %s | %.2f s | %.2f s | %.2f s |" % (name, medians["with"], medians["without"],
                                                 medians["with"] - medians["without"]))
        sys.stdout.flush()
    shutil.rmtree(target, ignore_errors=True)


if __name__ == "__main__":
    main()
