"""The package installs with pip and finds the library in its install prefix."""

import os
import shutil
import subprocess
import sys
from pathlib import Path

import pytest

from conftest import PASSWORD

PACKAGE_SOURCE = Path(__file__).resolve().parents[1]


def test_installed_package_finds_the_library_in_its_prefix(tmp_path, station_process):
    pytest.importorskip("pip")
    built = Path(os.environ["ENROLLMENTSTATION_LIBRARY"]).resolve().parent
    source = tmp_path / "source"
    shutil.copytree(PACKAGE_SOURCE, source,
                    ignore=shutil.ignore_patterns("tests", "build", "*.egg-info", "__pycache__"))
    prefix = tmp_path / "prefix"
    subprocess.run([sys.executable, "-m", "pip", "install", "--quiet", "--no-build-isolation",
                    "--no-deps", "--no-index", "--prefix", str(prefix), str(source)],
                   check=True, stdout=subprocess.DEVNULL)
    (prefix / "lib").mkdir(exist_ok=True)
    for library in built.glob("lib*.so*"):
        (prefix / "lib" / library.name).symlink_to(library)
    site = next(prefix.rglob("enrollmentstation/__init__.py")).parents[1]

    env = {k: v for k, v in os.environ.items() if k != "ENROLLMENTSTATION_LIBRARY"}
    env["PYTHONPATH"] = str(site)
    script = ("from enrollmentstation import Station, _native\n"
              "print(_native.lib._name)\n"
              f"with Station('127.0.0.1', {station_process}, password={PASSWORD!r}) as st:\n"
              "    print(st.card())\n")
    run = subprocess.run([sys.executable, "-c", script], cwd=tmp_path, env=env,
                         capture_output=True, text=True, check=True)
    library, card = run.stdout.split()
    assert Path(library).parent == prefix / "lib"
    assert card == "3053140519"
