"""The package against the in-process virtual station."""

import os
import subprocess
import sys
import threading
import time
from pathlib import Path

import pytest

from enrollmentstation import (CaptureRule, FaceParam, OfflineRule, OfflineRuleItem, RFCardParam,
                               Station, StationError)

from conftest import PASSWORD


def test_session_and_settings(control):
    with Station("127.0.0.1", password=PASSWORD) as st:
        assert st.is_init and st.user_id >= 0
        ability = st.capture_ability()
        assert ability.card and ability.fingerprint and ability.face and not ability.preset_param
        assert st.rf_card_cap().m1_card

        st.set_rf_card_param(RFCardParam(m1_card=True, cpu_card=True))
        assert st.rf_card_param() == RFCardParam(m1_card=True, cpu_card=True)
        st.set_face_param(FaceParam(enable=True, value=0x1FF))
        assert st.face_param() == FaceParam(enable=True, value=0xFF)
        assert st.language() == 1
        assert st.card() == "3053140519"
        st.set_card_rule(CaptureRule(card_no_len=8, card_timeout=3))
        st.set_offline_rule(OfflineRule(items=[OfflineRuleItem("name", len=32),
                                               OfflineRuleItem("fingerprint", num=2,
                                                               fingerprint_ids=[1, 2])]))
        assert isinstance(st.upload_failed_details(), str)
    assert not st.is_init
    st.close()
    with pytest.raises(ValueError):
        st.login()


def test_captures(station):
    identity = station.identity_card()
    assert identity.id_card_no and identity.chn_name and identity.pic
    assert len(identity.fingerprints) == 2

    fingerprint = station.fingerprint()
    assert fingerprint.data and set(fingerprint.data) <= set("0123456789ABCDEF")
    assert len(fingerprint.picture) > 0 and fingerprint.quality > 0

    face = station.face()
    assert face.template1 and face.face_data and face.feature.region.width > 0


def test_failures_carry_the_code_pair(control):
    with pytest.raises(StationError) as wrong:
        Station("127.0.0.1", password="wrong").login()
    assert wrong.value.code == (50, 1)
    assert str(wrong.value) == "login failed: 50-1 the device network SDK failed"

    st = Station("127.0.0.1", password=PASSWORD)
    with pytest.raises(StationError) as no_session:
        st.card()
    assert no_session.value.code == (69, 8200) and no_session.value.words == "not logged in"
    with pytest.raises(StationError) as bad_port:
        Station("127.0.0.1", port="x", password=PASSWORD).login()
    assert bad_port.value.code == (0, 2)

    with st:
        st.set_rf_card_param(RFCardParam())  # the reader reads no card type
        with pytest.raises(StationError) as refused:
            st.card()
        assert refused.value.code == (68, 0x30002)
        assert refused.value.words == "the station refused the request"
        assert refused.value.sub_status_code == "cardTypeDisabled" and refused.value.error_msg
        assert str(refused.value).startswith("reading the card failed: 68-196610 cardTypeDisabled: ")
        control.fail_next(b"NET_DVR_STDXMLConfig", 7)
        with pytest.raises(StationError) as sdk:
            st.upload_failed_details()
        assert sdk.value.code == (50, 7)
        assert st.upload_failed_details()  # the fault was for one call only


def test_files(station, tmp_path):
    source = tmp_path / "up.bin"
    source.write_bytes(bytes(range(256)) * 64)
    reports = []
    station.set_progress_callback(lambda operation, percent: reports.append((operation, percent)))
    station.upload(source)
    station.download(tmp_path / "down.bin")
    assert (tmp_path / "down.bin").read_bytes() == source.read_bytes()
    assert reports == [("upload", 100), ("download", 100)]  # one state query each

    station.face()
    faces = [percent for operation, percent in reports if operation == "face"]
    assert faces == sorted(faces) and faces[-1] == 100
    count = len(reports)
    station.set_progress_callback(None)
    station.upload(source)
    station.face()
    assert len(reports) == count


def test_search_streams_what_the_list_returns(station):
    listed = station.search_list()
    streamed = list(station.search())
    assert [r.person.name for r in listed] == ["Ana Lima", "Ben Okafor", "Chen Wei"]
    assert [r.status for r in streamed] == ["MORE", "MORE", "OK"]
    for a, b in zip(listed, streamed):
        assert (a.person, a.face_data, a.num_of_matches, a.total_matches) == \
               (b.person, b.face_data, b.num_of_matches, b.total_matches)
    assert listed[2].person.risk_data_mark and len(listed[0].person.fingerprints) == 2

    station.clear_store()
    assert station.search_list() == []
    assert list(station.search()) == []


def test_leaving_a_search_early_ends_it(control, station):
    control.fill_store(40, 2048, 1)
    control.silent_search_after(3)  # without a stop, this search would never end
    started = time.monotonic()
    for number, record in enumerate(station.search(), 1):
        if number == 2:
            break
    assert time.monotonic() - started < 5
    assert [r.person.name for r in station.search()][:1] == [station.search_list()[0].person.name]
    assert threading.active_count() == 1


def test_a_failed_search_raises_after_its_records(control, station):
    control.failed_search_after(2, 9)
    names = []
    with pytest.raises(StationError) as failed:
        for record in station.search():
            names.append(record.person.name)
    assert names == ["Ana Lima", "Ben Okafor"]
    assert failed.value.main == 69


def test_a_silent_station_is_left_by_cancel_or_time_out(control, station):
    assert not station.cancel()  # nothing runs
    control.silent_fingerprint()
    outcome = []

    def collect():
        try:
            station.fingerprint()
        except StationError as e:
            outcome.append(e.code)

    worker = threading.Thread(target=collect)
    worker.start()
    while not station.cancel():  # until the collection has begun
        time.sleep(0.005)
    worker.join(5)
    assert outcome == [(69, 8207)]

    control.silent_fingerprint()
    started = time.monotonic()
    with pytest.raises(StationError) as silent:
        station.fingerprint(timeout=0.2)
    assert silent.value.code == (69, 8208)
    assert time.monotonic() - started < 2
    assert station.fingerprint().data  # the time-out applied to that call only


def test_example_client(station_process):
    root = Path(__file__).resolve().parents[2]
    env = dict(os.environ, PYTHONPATH=str(root / "python"), ENROLL_PASSWORD="Station#2026")
    run = subprocess.run([sys.executable, str(root / "examples" / "enroll.py"), "127.0.0.1", str(station_process),
                          "admin"], env=env,
                         capture_output=True, text=True, timeout=60)
    assert run.returncode == 0, run.stderr
    assert run.stdout.splitlines()[1:] == ["card 3053140519", "3 records in the offline store"]
