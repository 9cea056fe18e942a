"""Shared fixtures: the lmtool program of the same build, and small generated data files."""

import csv
import io
import os
import shutil
import subprocess

import pytest

FORMATS = ["dta", "sdt", "ald", "isa"]


def lmtool_path():
    path = os.environ.get("LMTOOL") or shutil.which("lmtool")
    if not path:
        pytest.skip("LMTOOL is not set (ctest sets it)")
    return path


class Lmtool:
    """Runs lmtool and answers its output."""

    def __init__(self, path):
        self.path = path

    def run(self, *args, check=True):
        result = subprocess.run([self.path, *map(str, args)], capture_output=True, text=True)
        if check and result.returncode != 0:
            raise AssertionError(f"lmtool {' '.join(map(str, args))}: {result.returncode}\n{result.stderr}")
        return result

    def csv(self, *args):
        """The rows of a CSV output as dicts of text."""
        return list(csv.DictReader(io.StringIO(self.run(*args).stdout)))

    def gen(self, fmt, hits, path, seed=1):
        self.run("gen", "--format", fmt, "--hits", hits, "--seed", seed, path)
        return path


@pytest.fixture(scope="session")
def lmtool():
    return Lmtool(lmtool_path())


@pytest.fixture(scope="session")
def samples(lmtool, tmp_path_factory):
    """One small generated file of every format: {format: path}."""
    folder = tmp_path_factory.mktemp("samples")
    return {fmt: lmtool.gen(fmt, 300, folder / f"sample.{fmt}") for fmt in FORMATS}


@pytest.fixture
def lmdata(tmp_path, monkeypatch):
    """A fresh LMData database of the test's own."""
    path = tmp_path / "LMData.sqlite"
    monkeypatch.setenv("LMDATA", str(path))
    return path
