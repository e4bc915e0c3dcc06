"""The control page in a real headless Chromium, used as a person would."""
import os
import shutil
import tempfile
import time

import pytest

from station import png

CHROMIUM = shutil.which("chromium") or "/usr/bin/chromium"
CHROMEDRIVER = shutil.which("chromedriver") or "/usr/bin/chromedriver"

if not (os.access(CHROMIUM, os.X_OK) and os.access(CHROMEDRIVER, os.X_OK)):
    pytest.skip("chromium and chromium-driver are not installed", allow_module_level=True)

from selenium import webdriver  # noqa: E402
from selenium.webdriver.chrome.service import Service  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support import expected_conditions as shown  # noqa: E402
from selenium.webdriver.support.ui import Select, WebDriverWait  # noqa: E402


@pytest.fixture
def browser():
    profile = tempfile.mkdtemp(prefix="vstation-chromium-")
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--disable-dev-shm-usage", "--window-size=1400,1800", "--user-data-dir=" + profile):
        options.add_argument(flag)
    driver = webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)
    driver.set_page_load_timeout(30)
    yield driver
    driver.quit()
    shutil.rmtree(profile, ignore_errors=True)


def wait(driver, condition, seconds=20):
    return WebDriverWait(driver, seconds, poll_frequency=0.1).until(condition)


def message(driver):
    return wait(driver, lambda d: d.find_element(By.ID, "message").text or False)


def test_a_person_added_with_a_photo_shows_in_the_gallery_and_in_a_clients_search(station, browser, tmp_path):
    browser.get(station.page + "/")
    wait(browser, lambda d: len(d.find_elements(By.CSS_SELECTOR, "#gallery .person")) == 3)
    assert "rfCard" in browser.find_element(By.ID, "settings").text

    photo = tmp_path / "photo.png"
    photo.write_bytes(png(20, 25))
    browser.find_element(By.ID, "person-name").send_keys("Noor Hadley")
    browser.find_element(By.ID, "person-cards").send_keys("7100, 7101")
    browser.find_element(By.ID, "person-photo").send_keys(str(photo))
    browser.find_element(By.ID, "person-save").click()

    card = wait(browser, shown.presence_of_element_located(
        (By.XPATH, "//figure[contains(@class,'person')][.//strong[text()='Noor Hadley']]")))
    picture = card.find_element(By.TAG_NAME, "img")
    wait(browser, lambda d: d.execute_script("return arguments[0].complete && arguments[0].naturalWidth", picture))
    assert browser.execute_script("return arguments[0].naturalWidth", picture) == 20
    assert "7100, 7101" in card.text

    code, documents, err = station.run("search")
    assert code == 0, err
    assert "Noor Hadley" in [r["name"] for d in documents for r in d["result"]["dataCollectList"]]

    # A client that empties the store empties the gallery.
    assert station.run("clear", "--yes")[0] == 0
    wait(browser, lambda d: not d.find_elements(By.CSS_SELECTOR, "#gallery .person"))


def test_a_card_presented_on_the_page_completes_the_clients_waiting_read(station, browser):
    browser.get(station.page + "/")
    switch = wait(browser, shown.element_to_be_clickable((By.ID, "wait-switch")))
    switch.click()
    wait(browser, lambda d: station.ok("GET", "/api/person")["waitForPerson"])

    reader = station.stationctl("card")
    wait(browser, lambda d: "waits for a card" in d.find_element(By.ID, "pending").text)
    browser.find_element(By.ID, "card-number").send_keys("55667788")
    browser.find_element(By.ID, "card-present").click()
    out, err = reader.communicate(timeout=30)
    assert reader.returncode == 0, err
    assert '"cardNo":"55667788"' in out
    wait(browser, lambda d: "A client waits" not in d.find_element(By.ID, "pending").text)


def test_a_fault_switched_on_from_the_page_fails_the_next_calls_then_wears_off(station, browser):
    browser.get(station.page + "/")
    Select(wait(browser, shown.element_to_be_clickable((By.ID, "fault-kind")))).select_by_value("error")
    call = browser.find_element(By.ID, "fault-call")
    call.clear()
    call.send_keys("NET_DVR_StartRemoteConfig")
    times = browser.find_element(By.ID, "fault-times")
    times.clear()
    times.send_keys("2")
    browser.find_element(By.ID, "fault-arm").click()
    assert "Switched on" in message(browser)
    assert "next 2 call(s)" in browser.find_element(By.ID, "faults-armed").text

    assert [station.run("fingerprint")[0] for _ in range(3)] == [1, 1, 0]
    # The live log shows what the client did.
    wait(browser, lambda d: "NET_DVR_StartRemoteConfig" in d.find_element(By.ID, "log").text)
