#!/usr/bin/env python3
"""A small client: log in, read the presented card, list the offline store
record by record, log out. The Python twin of enroll_client.cpp.

    enroll.py [ADDRESS PORT USER]     password in ENROLL_PASSWORD

Without arguments it logs in to the virtual station's demo account.
"""

import os
import sys

from enrollmentstation import Station, StationError


def main(argv):
    address, port, user, password = "127.0.0.1", 8000, "admin", "Station#2026"
    if len(argv) == 4:
        address, port, user, password = argv[1], int(argv[2]), argv[3], ""
    password = os.environ.get("ENROLL_PASSWORD", password)

    result = 0
    try:
        with Station(address, port, user, password) as st:
            print(f"logged in, handle {st.user_id}")
            try:
                print(f"card {st.card()}")
            except StationError as e:
                print(e, file=sys.stderr)
                result = 1
            try:
                records = sum(1 for _ in st.search())
                print(f"{records} records in the offline store")
            except StationError as e:
                print(e, file=sys.stderr)
                result = 1
    except StationError as e:  # login or logout
        print(e, file=sys.stderr)
        return 1
    return result


if __name__ == "__main__":
    sys.exit(main(sys.argv))
