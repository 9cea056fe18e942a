#!/usr/bin/python3
"""Amplitude against time of the hits of a recording.

    PYTHONPATH=build/python python3 python/examples/plot_amplitude.py FILE [OUT.png]

Draws one colour per channel into OUT.png (default: FILE's name with .png) when matplotlib is
installed (Debian: python3-matplotlib); without it, prints a short summary per channel.
"""

import os
import sys

import numpy as np

import aelumeny


def main():
    if len(sys.argv) not in (2, 3):
        raise SystemExit(__doc__)
    path = sys.argv[1]
    hits = aelumeny.read(path, hits_only=True)
    channels = np.unique(hits["channel"])
    try:
        import matplotlib
    except ImportError:
        print(f"{len(hits)} hits, {hits['time'][-1] if len(hits) else 0:.3f} s (matplotlib is not installed)")
        for channel in channels:
            amplitude = hits["amplitude"][hits["channel"] == channel]
            print(f"channel {channel}: {len(amplitude)} hits, amplitude {amplitude.min()}-{amplitude.max()} dB")
        return
    matplotlib.use("Agg")  # files only; no display needed
    import matplotlib.pyplot as plt

    out = sys.argv[2] if len(sys.argv) == 3 else os.path.splitext(path)[0] + ".png"
    figure, axes = plt.subplots(figsize=(10, 5), layout="constrained")
    for channel in channels:
        mine = hits[hits["channel"] == channel]
        axes.scatter(mine["time"], mine["amplitude"], s=2, alpha=0.4, label=f"channel {channel}")
    axes.set_xlabel("time, s")
    axes.set_ylabel("amplitude, dB")
    axes.set_title(f"{os.path.basename(path)}: {len(hits)} hits ({aelumeny.detect(path)})")
    axes.legend(markerscale=4, loc="upper right")
    figure.savefig(out, dpi=100)
    print(out)


if __name__ == "__main__":
    main()
