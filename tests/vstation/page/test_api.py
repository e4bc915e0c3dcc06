"""The control page's JSON API, driven as a test harness would, with a
stationctl client on the link beside it."""
import http.client
import json
import socket
import time
from urllib.parse import urlsplit

from station import Station, b64, png


def wait_for_pending(station, action, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        pending = station.ok("GET", "/api/person")["pending"]
        if any(request["action"] == action for request in pending):
            return pending
        time.sleep(0.05)
    raise AssertionError("no client waits for " + action)


def test_a_waiting_card_read_completes_with_the_card_given_and_a_switched_off_wait_lets_it_go(station):
    station.ok("PUT", "/api/person/wait", {"on": True})
    reader = station.stationctl("card")
    wait_for_pending(station, "card")
    station.ok("POST", "/api/person/card", {"cardNo": "40404040"})
    out, err = reader.communicate(timeout=30)
    assert reader.returncode == 0, err
    assert '"cardNo":"40404040"' in out
    assert station.ok("GET", "/api/person")["pending"] == []

    # Switched off, the wait ends and the read goes on the usual way: the profile's card.
    reader = station.stationctl("card")
    wait_for_pending(station, "card")
    station.ok("PUT", "/api/person/wait", {"on": False})
    out, err = reader.communicate(timeout=30)
    assert reader.returncode == 0, err
    assert '"cardNo":"' in out and "40404040" not in out


def test_a_stop_ends_the_wait_and_the_station_without_leaving_the_client_hanging(tmp_path):
    station = Station(tmp_path / "stopped")
    try:
        station.ok("PUT", "/api/person/wait", {"on": True})
        reader = station.stationctl("card")
        wait_for_pending(station, "card")
        started = time.monotonic()
        assert station.stop() == 0
        assert time.monotonic() - started < 5, "the stop waited out the card read (10 s)"
        reader.communicate(timeout=30)
    finally:
        station.stop()


def test_a_stored_persons_card_finger_and_face_reach_the_waiting_client(station):
    person = station.ok("GET", "/api/persons")[0]
    station.ok("PUT", "/api/person/wait", {"on": True})

    reader = station.stationctl("card")
    wait_for_pending(station, "card")
    station.ok("POST", "/api/person/card", {"captureNo": person["captureNo"], "cardType": "M1Card"})
    out, err = reader.communicate(timeout=30)
    assert '"cardNo":"%s"' % person["cardNoList"][0] in out, out + err

    finger = station.stationctl("fingerprint")
    pending = wait_for_pending(station, "finger")
    assert pending[0]["finger"] == 1
    station.ok("POST", "/api/person/finger", {"captureNo": person["captureNo"], "quality": 61})
    out, err = finger.communicate(timeout=30)
    assert finger.returncode == 0, err
    import base64
    stored = base64.b64decode(person["fingerprints"][0]["fingerprint"]).hex().upper()
    assert stored[:200] in out
    assert '"fingerPrintQuality":61' in out

    face = station.stationctl("face")
    wait_for_pending(station, "face")
    _, picture = station.raw(person["facePicture"])
    station.ok("POST", "/api/person/face", {"captureNo": person["captureNo"]})
    out, err = face.communicate(timeout=30)
    assert face.returncode == 0, err
    assert b64(picture)[:200] in out


def test_persons_added_changed_and_removed_show_in_search_and_outlast_a_restart(tmp_path):
    station = Station(tmp_path / "kept")
    try:
        photo = png(6, 7)
        added = station.ok("POST", "/api/persons",
                           {"name": "Mira Vale", "employeeNo": "E77", "cardNoList": ["9001"],
                            "facePicture": b64(photo)})
        assert station.raw(added["facePicture"]) == ("image/png", photo)
        code, documents, err = station.run("search")
        assert code == 0, err
        names = [r["name"] for d in documents for r in d["result"]["dataCollectList"]]
        assert "Mira Vale" in names

        first = station.ok("GET", "/api/persons")[0]["captureNo"]
        station.ok("PUT", "/api/persons/%d" % added["captureNo"], {"name": "Mira Vale-Ode"})
        station.ok("DELETE", "/api/persons/%d" % first)
        assert station.stop() == 0
    finally:
        station.stop()

    again = Station(tmp_path / "kept")
    try:
        persons = again.ok("GET", "/api/persons")
        assert first not in [p["captureNo"] for p in persons]
        kept = [p for p in persons if p["captureNo"] == added["captureNo"]]
        assert kept and kept[0]["name"] == "Mira Vale-Ode" and kept[0]["cardNoList"] == ["9001"]
        assert again.raw(kept[0]["facePicture"])[1] == photo, "the photo outlasts the restart"
    finally:
        again.stop()


def send(station, method, path, body=None, host=True, **headers):
    """A request with the headers given, Host included (False: none at all);
    (status, content type, text of the answer)."""
    where = urlsplit(station.page)
    connection = http.client.HTTPConnection(where.hostname, where.port, timeout=30)
    connection.putrequest(method, path, skip_host=True, skip_accept_encoding=True)
    data = None if body is None else json.dumps(body).encode()
    if host is True:
        host = where.netloc
    kind = headers.pop("Content_Type", "application/json")
    for name, value in ([("Host", host)] if host else []) + list(headers.items()):
        connection.putheader(name, value)
    if data is not None:
        connection.putheader("Content-Type", kind)
        connection.putheader("Content-Length", str(len(data)))
    connection.endheaders(data)
    response = connection.getresponse()
    answer = (response.status, response.headers.get_content_type(), response.read().decode())
    connection.close()
    return answer


def test_requests_for_another_host_or_from_another_origin_are_refused_and_change_nothing(station):
    port = urlsplit(station.page).port
    persons = station.ok("GET", "/api/persons")
    victim = persons[0]["captureNo"]
    refused = [
        # A name rebound to this address, with or without a change.
        (421, "GET", "/api/persons", None, {"host": "rebound.example:%d" % port}),
        (421, "GET", "/", None, {"host": "127.0.0.1:%d" % (port + 1)}),
        (421, "POST", "/api/persons", {"name": "Intruder"}, {"host": "rebound.example:%d" % port}),
        (421, "GET", "/api/station", None, {"host": False}),
        # The right host, asked by another site's page.
        (403, "POST", "/api/persons", {"name": "Intruder"}, {"Origin": "http://rebound.example"}),
        (403, "POST", "/api/faults", {"kind": "error", "times": 5}, {"Origin": "null"}),
        (403, "DELETE", "/api/persons/%d" % victim, None, {"Origin": "http://127.0.0.1:%d" % (port + 1)}),
        (403, "PUT", "/api/person/wait", {"on": True}, {"Origin": "https://127.0.0.1:%d" % port}),
    ]
    for status, method, path, body, headers in refused:
        got, kind, text = send(station, method, path, body, **headers)
        assert (got, kind) == (status, "text/plain"), (method, path, headers, got, text)
        assert text.startswith("refused: "), text

    # A refused request's body is not taken for a request of its own.
    inner = json.dumps({"kind": "error", "call": "NET_DVR_Logout_V30", "times": 7}).encode()
    smuggled = (b"POST /api/faults HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nContent-Type: application/json\r\n"
                b"Content-Length: %d\r\n\r\n%s" % (port, len(inner), inner))
    with socket.create_connection(("127.0.0.1", port), timeout=30) as raw:
        raw.sendall(b"POST /api/persons HTTP/1.1\r\nHost: rebound.example:%d\r\nContent-Type: text/plain\r\n"
                    b"Content-Length: %d\r\n\r\n%s" % (port, len(smuggled), smuggled))
        # The refusal, then either the end of the connection or silence.
        answers = b""
        try:
            while True:
                chunk = raw.recv(65536)
                if not chunk:
                    break
                answers += chunk
                raw.settimeout(1)
        except socket.timeout:
            pass
    assert answers.count(b"HTTP/1.1 ") == 1 and b" 421 " in answers, answers

    assert station.ok("GET", "/api/persons") == persons
    assert station.ok("GET", "/api/person")["waitForPerson"] is False
    assert station.ok("GET", "/api/faults")["faults"] == []

    # The page's own requests, by each name of the loopback address.
    for host in ("127.0.0.1:%d" % port, "localhost:%d" % port, "LocalHost:%d" % port):
        status, _, text = send(station, "POST", "/api/persons", {"name": "Guest " + host}, host=host,
                               Origin="http://" + host)
        assert status == 201, text
        assert send(station, "GET", "/", host=host)[:2] == (200, "text/html")
    added = station.ok("GET", "/api/persons")[len(persons):]
    assert [p["name"] for p in added] == ["Guest 127.0.0.1:%d" % port, "Guest localhost:%d" % port,
                                          "Guest LocalHost:%d" % port]
    # A change needs a JSON body, whatever its method.
    status, _, text = send(station, "PUT", "/api/persons/%d" % victim, "x", Content_Type="text/plain")
    assert status == 415 and "application/json" in text


def test_the_fault_list_is_the_stations_own_whoever_switched_them_on(station):
    # Switched on by clients of the API other than the page; used up by a client on the link.
    station.ok("POST", "/api/faults", {"kind": "error", "call": "NET_DVR_StartRemoteConfig", "error": 23,
                                       "times": 2})
    station.ok("POST", "/api/faults", {"kind": "silent", "target": "face", "times": 3})
    station.ok("POST", "/api/faults", {"kind": "drop", "afterRecords": 2, "times": 1})
    texts = [f["text"] for f in station.ok("GET", "/api/faults")["faults"]]
    assert len(texts) == 3, texts
    assert "NET_DVR_StartRemoteConfig" in texts[0] and "error 23" in texts[0] and "next 2 call(s)" in texts[0]
    assert "Face" in texts[1] and "next 3 connection(s)" in texts[1]
    assert "after 2 record(s)" in texts[2] and "next 1 search(es)" in texts[2]

    assert station.run("fingerprint")[0] == 1
    faults = station.ok("GET", "/api/faults")["faults"]
    assert faults[0]["remaining"] == 1 and "next 1 call(s)" in faults[0]["text"]
    assert station.run("fingerprint")[0] == 1
    assert [f["remaining"] for f in station.ok("GET", "/api/faults")["faults"]] == [3, 1]

    station.ok("DELETE", "/api/faults")
    assert station.ok("GET", "/api/faults")["faults"] == []


def test_faults_apply_to_the_next_n_calls_and_then_wear_off(station):
    station.ok("POST", "/api/faults", {"kind": "error", "call": "NET_DVR_StartRemoteConfig", "error": 23,
                                       "times": 2})
    results = [station.run("fingerprint")[0] for _ in range(3)]
    assert results == [1, 1, 0]

    station.ok("POST", "/api/faults", {"kind": "silent", "target": "face", "times": 1})
    code, documents, _ = station.run("--timeout", "1", "face")
    assert code == 1 and documents[-1]["error"]["sub"] == 8208
    assert station.run("face")[0] == 0

    station.ok("POST", "/api/faults", {"kind": "drop", "afterRecords": 1, "times": 1})
    code, documents, err = station.run("search", "--stream")
    assert code == 1, "a link dropped mid-search fails the search"
    assert sum(1 for d in documents if d["ok"]) == 1, "the record before the drop is kept"
    code, documents, err = station.run("search", "--stream")
    assert code == 0, err

    # Armed, then cleared: nothing fails.
    station.ok("POST", "/api/faults", {"kind": "close-fails", "times": 3})
    station.ok("POST", "/api/faults", {"kind": "malformed", "target": "search", "times": 3})
    station.ok("DELETE", "/api/faults")
    assert station.run("search")[0] == 0


def test_the_log_lists_the_calls_a_client_made_from_a_position_on(station):
    start = station.ok("GET", "/api/log")["next"]
    assert station.run("card")[0] == 0
    log = station.ok("GET", "/api/log?since=%d" % start)
    calls = [c["call"] for c in log["calls"]]
    assert "NET_DVR_Login_V40" in calls and "NET_DVR_STDXMLConfig" in calls
    assert [c["position"] for c in log["calls"]] == list(range(start, log["next"]))
    assert any("CaptureCardInfo" in c["text"] for c in log["calls"])
    assert station.ok("GET", "/api/log?since=%d" % log["next"])["calls"] == []
    station.ok("DELETE", "/api/log")
    assert station.ok("GET", "/api/log?since=%d" % log["next"])["restarted"]


def test_bad_requests_get_a_clear_error_and_the_station_goes_on(station):
    cases = [
        ("POST", "/api/persons", "not json", 400, "JSON object"),
        ("POST", "/api/persons", {"name": "X", "facePicture": b64(b"GIF89a....")}, 400, "PNG or JPEG"),
        ("POST", "/api/persons", {"name": 5}, 400, '"name" must be a text'),
        ("PUT", "/api/persons/999", {"name": "Nobody"}, 404, "no person"),
        ("POST", "/api/person/card", {}, 400, "cardNo"),
        ("POST", "/api/person/finger", {"captureNo": 999}, 404, "no person"),
        ("POST", "/api/faults", {"kind": "lightning"}, 400, "kind"),
        ("POST", "/api/faults", {"kind": "error", "times": 0}, 400, "times"),
        ("GET", "/api/nowhere", None, 404, "no such endpoint"),
        # A form another site's page could post without asking.
        ("POST", "/api/person/card", "cardNo=1", 415, "application/json"),
    ]
    import json
    import urllib.error
    import urllib.request
    for method, path, body, status, said in cases:
        data = None if body is None else (body if isinstance(body, str) else json.dumps(body)).encode()
        kind = "application/x-www-form-urlencoded" if status == 415 else "application/json"
        request = urllib.request.Request(station.page + path, data=data, method=method,
                                         headers={"Content-Type": kind})
        try:
            urllib.request.urlopen(request, timeout=10)
            raise AssertionError("%s %s was accepted" % (method, path))
        except urllib.error.HTTPError as error:
            assert error.code == status, (path, error.code)
            assert said in json.loads(error.read())["error"], path
    assert station.ok("GET", "/api/station")["storedRecords"] == 3
    assert station.run("card")[0] == 0
