"""Fixtures: the in-process virtual station, reset before every test.

The build registers these tests with ENROLLMENTSTATION_LIBRARY (the library
under test) and ENROLLMENTSTATION_TEST_CONTROL (the virtual station's test
control, which the library's stand-in SDK shares)."""

import ctypes
import os
import re
import subprocess
import sys
import time
from pathlib import Path

import pytest

sys.path.insert(0, str(Path(__file__).resolve().parents[1]))

from enrollmentstation import Station  # noqa: E402

PASSWORD = "Station#2026"


class Control:
    """The virtual station's test control (tests/capi/StationControl.h)."""

    def __init__(self, path):
        self.lib = ctypes.CDLL(path)
        self.lib.vst_fail_next.argtypes = [ctypes.c_char_p, ctypes.c_int32]
        self.lib.vst_failed_search_after.argtypes = [ctypes.c_int, ctypes.c_int32]
        self.lib.vst_present_card.argtypes = [ctypes.c_char_p]

    def __getattr__(self, name):
        return getattr(self.lib, "vst_" + name)


@pytest.fixture(scope="session")
def control_library():
    path = os.environ.get("ENROLLMENTSTATION_TEST_CONTROL")
    if not path:
        pytest.skip("ENROLLMENTSTATION_TEST_CONTROL is not set (run through ctest)")
    return Control(path)


@pytest.fixture
def control(control_library):
    control_library.reset()
    yield control_library
    assert control_library.open_handles() == 0, "a login, connection or transfer was left open"


@pytest.fixture
def station_process():
    """A station process (vstation) on a free loopback port: yields the port.
    Programs that set up no station of their own reach stations this way."""
    program = os.environ.get("VSTATION")
    if not program:
        pytest.skip("VSTATION is not set (run through ctest)")
    process = subprocess.Popen([program, "--listen", "127.0.0.1:0"], stdout=subprocess.PIPE, text=True)
    try:
        line = process.stdout.readline()
        found = re.search(r"reached at 127\.0\.0\.1:(\d+)$", line.strip())
        assert found, f"the station did not come up: {line!r}"
        yield int(found.group(1))
    finally:
        process.terminate()
        process.wait(timeout=30)


@pytest.fixture
def station(control):
    with Station("127.0.0.1", password=PASSWORD) as st:
        yield st
