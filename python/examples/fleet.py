#!/usr/bin/python3
"""A summary line per recording for a whole folder of them, read in parallel.

    PYTHONPATH=build/python python3 python/examples/fleet.py FOLDER [WORKERS]

aelumeny.read releases the GIL, so plain threads read several files at once; each file is
reduced to a few numbers as soon as it is read, so memory stays at a few files' worth.
For a cluster, the same function goes to Dask unchanged:

    import dask
    summaries = dask.compute(*[dask.delayed(summarise)(p) for p in paths])

and without Python, GNU parallel over lmtool does the same per file:

    ls recordings/*.DTA | parallel 'lmtool dump {} > {.}.csv'
"""

import os
import sys
from concurrent.futures import ThreadPoolExecutor

import numpy as np

import aelumeny


def summarise(path):
    """Hits, duration and amplitude figures of one recording (None when it is not one)."""
    try:
        hits = aelumeny.read(path, hits_only=True)
    except aelumeny.FormatError:
        return None
    if len(hits) == 0:
        return {"file": path, "hits": 0}
    return {
        "file": path,
        "format": aelumeny.detect(path),
        "hits": len(hits),
        "seconds": float(hits["time"][-1]),
        "channels": int(len(np.unique(hits["channel"]))),
        "max_amplitude": int(hits["amplitude"].max()),
        "over_60dB": int((hits["amplitude"] > 60).sum()),
    }


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    folder = sys.argv[1]
    workers = int(sys.argv[2]) if len(sys.argv) == 3 else os.cpu_count()
    paths = sorted(os.path.join(folder, n) for n in os.listdir(folder) if os.path.isfile(os.path.join(folder, n)))
    with ThreadPoolExecutor(workers) as pool:
        for summary in pool.map(summarise, paths):
            if summary:
                print(summary)


if __name__ == "__main__":
    main()
