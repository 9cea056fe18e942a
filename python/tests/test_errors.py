"""Files that cannot be read raise the documented exceptions with the library's messages."""

import errno
import os
import signal
import time

import pytest

import aelumeny
from conftest import FORMATS

READERS = [aelumeny.read, aelumeny.values, aelumeny.info]


@pytest.mark.parametrize("reader", READERS + [aelumeny.detect])
def test_missing_file(tmp_path, reader):
    missing = tmp_path / "missing.dta"
    with pytest.raises(FileNotFoundError) as caught:
        reader(missing)
    error = caught.value
    assert isinstance(error, aelumeny.FileError) and isinstance(error, aelumeny.Error)
    assert error.errno == errno.ENOENT
    assert error.filename == str(missing)
    assert error.strerror == "Data file doesn't exist"


def test_folder_is_not_a_data_file(tmp_path):
    with pytest.raises(IsADirectoryError) as caught:
        aelumeny.read(tmp_path)
    assert isinstance(caught.value, aelumeny.FileError)


@pytest.mark.skipif(os.geteuid() == 0, reason="root reads every file")
def test_unreadable_file(samples, tmp_path):
    path = tmp_path / "locked.dta"
    path.write_bytes(samples["dta"].read_bytes())
    path.chmod(0)
    with pytest.raises(PermissionError):
        aelumeny.read(path)


@pytest.mark.parametrize("content", [b"", b"index,kind\n1,2\n", bytes(range(256)) * 8])
def test_unknown_format(tmp_path, content):
    path = tmp_path / "other.dta"
    path.write_bytes(content)
    assert aelumeny.detect(path) is None
    for reader in READERS:
        with pytest.raises(ValueError) as caught:
            reader(path)
        assert isinstance(caught.value, aelumeny.FormatError)
        assert caught.value.message == "Unknown data type.."
        assert caught.value.filename == str(path)


@pytest.mark.parametrize("fmt", FORMATS)
@pytest.mark.parametrize("keep", [10, 3000, -7])
def test_truncated_file_behaves_as_lmtool(lmtool, samples, tmp_path, fmt, keep):
    """A file cut inside its header is no longer recognised (FormatError); one cut inside
    its records loads the whole records before the cut, as lmtool and the programs do."""
    data = samples[fmt].read_bytes()
    path = tmp_path / f"cut.{fmt}"
    path.write_bytes(data[:keep])
    dump = lmtool.run("dump", path, check=False)
    if dump.returncode != 0:
        assert dump.stderr == "Unknown data type..\n"
        with pytest.raises(aelumeny.FormatError, match="Unknown data type"):
            aelumeny.read(path)
        return
    rows = dump.stdout.count("\n") - 1
    array = aelumeny.read(path)
    assert len(array) == rows
    if keep < 0:
        assert 0 < rows < len(aelumeny.read(samples[fmt]))


def test_ctrl_c_stops_a_long_read(lmtool, tmp_path):
    path = lmtool.gen("dta", 1_000_000, tmp_path / "big.dta")
    whole = 0.0
    for _ in range(2):
        started = time.perf_counter()
        aelumeny.read(path)
        whole = max(whole, time.perf_counter() - started)

    def interrupt(signum, frame):
        raise KeyboardInterrupt

    previous = signal.signal(signal.SIGALRM, interrupt)
    try:
        started = time.perf_counter()
        signal.setitimer(signal.ITIMER_REAL, whole / 10)
        with pytest.raises(KeyboardInterrupt):
            aelumeny.read(path)
        stopped = time.perf_counter() - started
    finally:
        signal.setitimer(signal.ITIMER_REAL, 0)
        signal.signal(signal.SIGALRM, previous)
    # The read stopped well before its end (the loader asks every 65536 records).
    assert stopped < whole * 0.7, (stopped, whole)
    # And the module still works afterwards.
    assert len(aelumeny.read(path, hits_only=True)) == 1_000_000
