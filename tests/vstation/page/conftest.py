import os
import sys

import pytest

sys.path.insert(0, os.path.dirname(__file__))

from station import Station  # noqa: E402


@pytest.fixture
def station(tmp_path):
    running = Station(tmp_path / "station")
    yield running
    running.stop()
