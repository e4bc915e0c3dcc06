#!/usr/bin/env python3
"""What the Python package adds to a search of the offline store.

Against the in-process virtual station (pacing off), a store of 2,000 people
with two 64 KiB pictures and two fingerprints each, as bench_search uses:
the C interface's record-by-record search with a callback that does nothing
(the floor a ctypes caller pays), Station.search() (records read and yielded
as they arrive) and Station.search_list(). Best of three runs each, and the
growth of the peak resident set over each case (the cases run from the
leanest up, since the peak only grows).

    ENROLLMENTSTATION_LIBRARY=build/default/lib/libEnrollmentStation.so \\
    ENROLLMENTSTATION_TEST_CONTROL=build/default/lib/libes_station_control.so \\
    VSTATION_PACING=0 KESTRO_LOG=off /usr/bin/python3 bench/python_search.py
"""

import ctypes
import os
import resource
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "python"))

from enrollmentstation import Station  # noqa: E402
from enrollmentstation import _native as native  # noqa: E402

RECORDS, PICTURE, FINGERPRINTS = 2000, 64 * 1024, 2


def peak_mb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss // 1024


def best_of(runs, work):
    times = []
    for _ in range(runs):
        started = time.perf_counter()
        work()
        times.append(time.perf_counter() - started)
    return min(times)


def main():
    control = ctypes.CDLL(os.environ["ENROLLMENTSTATION_TEST_CONTROL"])
    control.vst_reset()
    control.vst_fill_store(RECORDS, PICTURE, FINGERPRINTS)
    with Station("127.0.0.1", password="Station#2026") as st:
        ignore = native.SearchCallback(lambda document, length, user: 0)
        cases = [("es_search through ctypes, callback does nothing",
                  lambda: native.es_search(st._handle, ignore, 1)),
                 ("Station.search()", lambda: sum(1 for _ in st.search())),
                 ("Station.search_list()", st.search_list)]
        for label, work in cases:
            before = peak_mb()
            seconds = best_of(3, work)
            print(f"{label:50s} {RECORDS / seconds:7.0f} records/s ({seconds:.2f} s), "
                  f"peak resident +{peak_mb() - before} MB")


if __name__ == "__main__":
    main()
