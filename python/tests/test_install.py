"""The installed package works without the build tree."""

import os
import subprocess
import sys

import pytest


def test_installed_package_reads(samples, tmp_path):
    build, cmake, folder = (os.environ.get(v) for v in ("LM_BUILD_DIR", "LM_CMAKE", "LM_PYTHON_INSTALL_DIR"))
    if not (build and cmake and folder):
        pytest.skip("run by ctest, which names the build")
    prefix = tmp_path / "prefix"
    subprocess.run([cmake, "--install", build, "--component", "python", "--prefix", prefix], check=True,
                   capture_output=True)
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    env["PYTHONPATH"] = str(prefix / folder)
    script = "import aelumeny, sys; print(aelumeny.__file__); print(len(aelumeny.read(sys.argv[1])))"
    result = subprocess.run([sys.executable, "-s", "-c", script, samples["dta"]], env=env, cwd=tmp_path,
                            capture_output=True, text=True, check=True)
    location, rows = result.stdout.split()
    assert location.startswith(str(prefix))
    assert int(rows) > 300
