"""read, values, info and detect give what lmtool prints for the same file."""

import gc
import os
from concurrent.futures import ThreadPoolExecutor
from fractions import Fraction

import numpy as np
import pytest

import aelumeny
from conftest import FORMATS

DUMP_FIELDS = ["kind", "ticks", "channel", "amplitude", "rise", "counts", "energy", "duration"]


def assert_equals_dump(array, rows):
    assert len(array) == len(rows)
    for name in DUMP_FIELDS:
        expected = np.array([int(r[name]) for r in rows], dtype=np.int64)
        np.testing.assert_array_equal(array[name].astype(np.int64), expected, err_msg=name)
    np.testing.assert_array_equal(array["par1"], np.array([float(r["par1"]) for r in rows], dtype=np.float32))
    # Seconds are the ticks over 4e6, correctly rounded.
    expected_time = [float(Fraction(int(r["ticks"]), aelumeny.TICKS_PER_SECOND)) for r in rows]
    np.testing.assert_array_equal(array["time"], np.array(expected_time))


@pytest.mark.parametrize("fmt", FORMATS)
def test_read_equals_dump(lmtool, samples, fmt):
    rows = lmtool.csv("dump", samples[fmt])
    array = aelumeny.read(samples[fmt])
    assert array.dtype == aelumeny.RECORD_DTYPE
    assert list(array.dtype.names) == [
        "kind", "ticks", "time", "channel", "amplitude", "rise", "counts", "energy", "duration", "par1", "flags"]
    assert_equals_dump(array, rows)
    assert not array["flags"].any()
    # The generated files hold more than hits: the other kinds must survive too.
    kinds = set(array["kind"])
    assert aelumeny.KINDS["hit"] in kinds and len(kinds) > 1

    hits = aelumeny.read(samples[fmt], hits_only=True)
    assert_equals_dump(hits, [r for r in rows if r["kind"] == "0"])


@pytest.mark.parametrize("fmt", FORMATS)
def test_values_equal_lmtool_values(lmtool, samples, fmt):
    rows = lmtool.csv("values", samples[fmt])
    array = aelumeny.values(samples[fmt])
    assert len(array) == len(rows)
    for name in ["hit", "param", "timed", "end"]:
        np.testing.assert_array_equal(array[name], [r[name] == "1" for r in rows], err_msg=name)
    for name in ["time"] + [f"p{p}" for p in sorted(aelumeny.PARAMS.values())]:
        np.testing.assert_array_equal(array[name], [float(r[name]) for r in rows], err_msg=name)

    # A selection by name and by identifier, in the order given.
    chosen = aelumeny.values(samples[fmt], ["Amplitude", 2, "freq"])
    assert chosen.dtype.names == ("hit", "param", "timed", "end", "time", "p256", "p2", "p32768")
    for name in chosen.dtype.names:
        np.testing.assert_array_equal(chosen[name], array[name], err_msg=name)


@pytest.mark.parametrize("params", ["bogus", 3, ["amplitude", 256]])
def test_values_refuses_unknown_or_repeated_parameters(samples, params):
    with pytest.raises(ValueError):
        aelumeny.values(samples["dta"], params)


@pytest.mark.parametrize("fmt", FORMATS)
def test_info_and_detect_equal_lmtool_info(lmtool, samples, fmt):
    report = lmtool.run("info", samples[fmt]).stdout
    info = aelumeny.info(samples[fmt])
    assert info["report"] == report
    assert report.startswith(f"Data type: {info['format']}\n")
    assert aelumeny.detect(samples[fmt]) == info["format"]
    assert aelumeny.detect(str(samples[fmt])) == info["format"]  # str and os.PathLike alike


def test_array_outlives_everything_that_made_it(lmtool, samples):
    rows = [r for r in lmtool.csv("dump", samples["sdt"]) if r["kind"] == "0"]
    # Only a view of one field is kept; the array, the loader's records and the file go.
    amplitude = aelumeny.read(samples["sdt"], hits_only=True)["amplitude"]
    gc.collect()
    # Reuse freed memory so that a dangling buffer would show other data.
    clutter = [aelumeny.read(samples["dta"]) for _ in range(3)] + [bytearray(os.urandom(1 << 16)) for _ in range(64)]
    np.testing.assert_array_equal(amplitude, [int(r["amplitude"]) for r in rows])
    del clutter
    # Two reads never share memory.
    first, second = aelumeny.read(samples["ald"]), aelumeny.read(samples["ald"])
    first["amplitude"] = 0
    assert second["amplitude"].any()


def test_threads_read_alike(samples):
    """Reading runs without the GIL; files read on threads equal files read one by one."""
    paths = [samples[fmt] for fmt in FORMATS] * 3
    alone = [aelumeny.read(p) for p in paths]
    with ThreadPoolExecutor(4) as pool:
        together = list(pool.map(aelumeny.read, paths))
    for a, b in zip(alone, together):
        np.testing.assert_array_equal(a, b)


def test_star_import_keeps_the_builtin_filter():
    names = {}
    exec("from aelumeny import *", names)
    assert "filter" not in names and "read" in names and "FormatError" in names
