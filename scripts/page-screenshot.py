#!/usr/bin/python3
"""Takes docs/vstation-page.png: the control page in headless Chromium, with
a client waiting for a card and a fault switched on.

Usage: scripts/page-screenshot.py BUILD_DIR (e.g. build/default)
"""
import os
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, "..", "tests", "vstation", "page"))

from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402

from station import Station  # noqa: E402

build = sys.argv[1] if len(sys.argv) > 1 else "build/default"
os.environ.setdefault("VSTATION", os.path.join(build, "bin", "vstation"))
os.environ.setdefault("STATIONCTL", os.path.join(build, "bin", "stationctl"))
target = os.path.join(here, "..", "docs", "vstation-page.png")

with tempfile.TemporaryDirectory() as scratch:
    station = Station(os.path.join(scratch, "station"))
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--window-size=1200,1000", "--user-data-dir=" + os.path.join(scratch, "chromium")):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        station.ok("PUT", "/api/person/wait", {"on": True})
        station.ok("POST", "/api/faults", {"kind": "late", "target": "face", "delayMs": 3000, "times": 2})
        reader = station.stationctl("card")
        driver.get(station.page + "/")
        time.sleep(2.5)
        driver.save_screenshot(target)
        station.ok("POST", "/api/person/card", {"cardNo": "12345678"})
        reader.communicate(timeout=30)
    finally:
        driver.quit()
        station.stop()

try:
    from PIL import Image  # a palette PNG keeps the file small
    Image.open(target).convert("RGB").quantize(colors=128).save(target, optimize=True)
except ImportError:
    pass
print(target, os.path.getsize(target), "bytes")
