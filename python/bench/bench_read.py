#!/usr/bin/python3
"""Speed and memory of aelumeny.read on generated DiSP files, with lmtool dump beside it.

Not a test: run by hand and report the figures.

    python3 python/bench/bench_read.py [--build build] [--hits 1000000 10000000] [--folder DIR]

Time: the best of several reads in one process (the file in the page cache, as for the
programs). Memory: each measurement runs in a fresh interpreter, and the peak resident set
of that child (ru_maxrss from wait4, what `/usr/bin/time -v` calls "Maximum resident set
size") is compared with a child that only imports numpy and aelumeny; the difference is what
the read itself costs at its peak. tracemalloc would not see it: the records are allocated
by C++, outside Python's allocator.
"""

import argparse
import os
import subprocess
import sys
import tempfile
import time


def child_peak_kib(argv):
    """Runs argv with its output discarded; answers (seconds, peak RSS in KiB)."""
    started = time.perf_counter()
    with open(os.devnull, "wb") as null:
        process = subprocess.Popen(argv, stdout=null)
        _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - started
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"failed: {' '.join(argv)}")
    return elapsed, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default="build", help="build folder (holds python/ and lmtool/)")
    parser.add_argument("--hits", type=int, nargs="+", default=[1_000_000, 10_000_000])
    parser.add_argument("--folder", help="where the generated files go (default: a temporary folder)")
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()

    build = os.path.abspath(args.build)
    lmtool = os.path.join(build, "lmtool", "lmtool")
    sys.path.insert(0, os.path.join(build, "python"))
    env = dict(os.environ, PYTHONPATH=os.path.join(build, "python"))
    os.environ["PYTHONPATH"] = env["PYTHONPATH"]
    import aelumeny

    folder = args.folder or tempfile.mkdtemp(prefix="bench-read-")
    python = sys.executable
    _, baseline = child_peak_kib([python, "-c", "import numpy, aelumeny"])
    print(f"interpreter + numpy + aelumeny: {baseline / 1024:.1f} MiB peak RSS")
    print(f"{'hits':>10} {'file MiB':>9} {'read s':>8} {'hits_only s':>11} {'peak MiB':>9} {'x file':>7}"
          f" {'dump s':>7} {'dump MiB':>9}")
    for hits in args.hits:
        path = os.path.join(folder, f"bench-{hits}.dta")
        if not os.path.exists(path):
            subprocess.run([lmtool, "gen", "--format", "dta", "--hits", str(hits), path], check=True)
        size = os.path.getsize(path)
        aelumeny.read(path)  # warm the page cache
        best = best_hits = float("inf")
        for _ in range(args.repeat):
            started = time.perf_counter()
            array = aelumeny.read(path)
            best = min(best, time.perf_counter() - started)
            del array
            started = time.perf_counter()
            array = aelumeny.read(path, hits_only=True)
            best_hits = min(best_hits, time.perf_counter() - started)
            del array
        _, peak = child_peak_kib([python, "-c", f"import numpy, aelumeny; a = aelumeny.read({path!r})"])
        dump_time, dump_peak = child_peak_kib([lmtool, "dump", path])
        extra = (peak - baseline) * 1024
        print(f"{hits:>10} {size / 2**20:>9.1f} {best:>8.3f} {best_hits:>11.3f} {extra / 2**20:>9.1f}"
              f" {extra / size:>7.2f} {dump_time:>7.2f} {dump_peak / 1024:>9.1f}")
    if not args.folder:
        for name in os.listdir(folder):
            os.remove(os.path.join(folder, name))
        os.rmdir(folder)


if __name__ == "__main__":
    main()
