"""Station: one enrollment station, driven through the C interface."""

import ctypes
import itertools
import os
import queue
import threading
from typing import Callable, Iterator, List, Optional

from . import _native as native
from . import records as rec


class StationError(Exception):
    """A failed operation, with the code pair the library recorded.

    `main`/`sub` is the pair (for example 68-196609 when the station refused a
    request), `words` says what it means. For a refusal, `sub_status_code` and
    `error_msg` carry the station's own words when the library has them.
    """

    def __init__(self, operation: str, main: int, sub: int, words: str,
                 sub_status_code: Optional[str] = None, error_msg: Optional[str] = None):
        self.operation = operation
        self.main = main
        self.sub = sub
        self.words = words
        self.sub_status_code = sub_status_code
        self.error_msg = error_msg
        detail = words
        if sub_status_code or error_msg:
            detail = ": ".join(part for part in (sub_status_code, error_msg) if part)
        super().__init__(f"{operation} failed: {main}-{sub} {detail}")

    @property
    def code(self):
        return (self.main, self.sub)


def _text(pointer) -> str:
    return ctypes.string_at(pointer).decode("utf-8", "replace") if pointer else ""


def _flags(c) -> dict:
    """The int flags of a C record, by name, as bools."""
    return {name: bool(getattr(c, name)) for name, _ in c._fields_[1:]}


def _texts(array, count) -> List[str]:
    return [_text(array[i]) for i in range(count)]


def _feature(c) -> rec.FaceFeature:
    def point(p):
        return rec.Point(p.x, p.y)
    return rec.FaceFeature(rec.Region(c.region.height, c.region.width, c.region.x, c.region.y),
                           point(c.left_eye), point(c.right_eye), point(c.left_mouth),
                           point(c.right_mouth), point(c.nose_tip))


def _person(c) -> rec.Person:
    return rec.Person(
        c.last_capture_no, c.capture_no, _text(c.name), _text(c.employee_no), _text(c.id_card_no),
        _texts(c.card_nos, c.card_no_count),
        [rec.FingerprintTemplate(c.fingerprints[i].id, _text(c.fingerprints[i].fingerprint))
         for i in range(c.fingerprint_count)],
        _feature(c.face_feature), bool(c.risk_data_mark))


def _search_record(c) -> Optional[rec.SearchRecord]:
    if c.data_collect_count == 0:
        return None
    return rec.SearchRecord(_person(c.data_collects[0]), _text(c.face_data),
                            _text(c.infrared_face_data), _text(c.search_id),
                            _text(c.response_status), c.num_of_matches, c.total_matches)


# ---- the streaming search -------------------------------------------------------------

def _read_document(document: bytes):
    """The ES_SEARCH_ status of one search document and its record (None without one)."""
    status = ctypes.c_int(native.SEARCH_UNREADABLE)
    c = native.SearchRecord()
    native.es_read_search_document(document, len(document), ctypes.byref(status), ctypes.byref(c))
    try:
        return status.value, _search_record(c)
    finally:
        native.es_search_record_free(ctypes.byref(c))


class _Feed:
    """Documents on their way from the SDK's thread to the iterating thread.

    Bounded, so a slow consumer holds the station back instead of piling up
    pictures; once the consumer has gone, documents are dropped."""

    def __init__(self):
        self.queue: "queue.Queue" = queue.Queue(maxsize=32)
        self.closed = False

    def put(self, item) -> None:
        while not self.closed:
            try:
                self.queue.put(item, timeout=0.05)
                return
            except queue.Full:
                continue


# The callback stays alive with the module: the station may deliver the
# failure document after its search has returned. Searches are told apart by
# a number passed as user data, so a late document of an ended search finds
# no feed and is dropped.
_feeds = {}
_feed_numbers = itertools.count(1)


@native.SearchCallback
def _on_document(document, length, number):
    feed = _feeds.get(number)
    if feed is not None:
        feed.put(ctypes.string_at(document, length))
    return 0


_END = object()
LATE_FAILURE_WAIT = 0.5  # seconds a truncated search waits for the station's failure document


# ---- the station ---------------------------------------------------------------------------

class Station:
    """One enrollment station.

    ``with Station("127.0.0.1", password=...) as st:`` logs in and logs out at
    the end; the object can log in again. close() (or garbage collection)
    releases it. Every operation raises StationError on failure. A station is
    used by one thread at a time; cancel() and stop_search() may come from any.
    """

    def __init__(self, address: str = "127.0.0.1", port: int = 8000, user: str = "admin",
                 password: str = "", *, sdk_log_path: Optional[str] = None):
        self.address = address
        self.port = port
        self.user = user
        self._password = password
        self._handle = ctypes.c_void_p()
        self._check("creating the station", native.es_station_create(ctypes.byref(self._handle)))
        if sdk_log_path is not None:
            self._call("setting the SDK log path", native.es_set_sdk_log_path,
                       os.fsencode(sdk_log_path))
        self.user_id = -1

    def __repr__(self):
        return f"Station({self.address!r}, port={self.port}, user={self.user!r})"

    def __enter__(self) -> "Station":
        self.login()
        return self

    def __exit__(self, *exc) -> None:
        self.logout()

    def __del__(self):
        self.close()

    def close(self) -> None:
        """Releases the station object (without logging out)."""
        handle = getattr(self, "_handle", None)
        if handle and native.es_station_destroy is not None:  # None while the interpreter exits
            native.es_station_destroy(handle)
            self._handle = ctypes.c_void_p()

    # ---- plumbing ---------------------------------------------------------------

    def _check(self, operation: str, status: native.Status) -> native.Status:
        if not status.ok:
            words = (status.text or b"").decode("utf-8", "replace")
            raise StationError(operation, status.main, status.sub, words, *self._refusal(status))
        return status

    def _refusal(self, status: native.Status):
        """The station's name and words for the refusal that gave `status`."""
        if status.main != 68 or not self._handle:
            return None, None
        c = native.StationStatus()
        if not native.es_get_last_station_status(self._handle, ctypes.byref(c)).ok:
            return None, None
        try:
            if c.error_code != status.sub & 0xFFFFFFFF:
                return None, None  # an older refusal's document
            return _text(c.sub_status_code), _text(c.error_msg)
        finally:
            native.es_station_status_free(ctypes.byref(c))

    def _call(self, operation: str, function, *args) -> native.Status:
        if not self._handle:
            raise ValueError("the station has been closed")
        return self._check(operation, function(self._handle, *args))

    def _read(self, operation: str, function, record_type):
        record = record_type()
        self._call(operation, function, ctypes.byref(record))
        return record

    # ---- session ----------------------------------------------------------------

    def login(self) -> int:
        param = native.LoginParam(address=self.address.encode(), port=str(self.port).encode(),
                                  user=self.user.encode(), password=self._password.encode())
        user_id = ctypes.c_int32(-1)
        self._call("login", native.es_login, ctypes.byref(param), ctypes.byref(user_id))
        self.user_id = user_id.value
        return self.user_id

    def logout(self) -> None:
        self._call("logout", native.es_logout)
        self.user_id = -1

    @property
    def is_init(self) -> bool:
        flag = ctypes.c_int(0)
        self._call("reading the session flag", native.es_is_init, ctypes.byref(flag))
        return bool(flag.value)

    # ---- capabilities and RF card settings -----------------------------------------

    def capture_ability(self) -> rec.CaptureAbility:
        c = self._read("reading the capture capabilities", native.es_get_capture_ability,
                       native.CaptureAbility)
        return rec.CaptureAbility(**_flags(c))

    def rf_card_cap(self) -> rec.RFCardCap:
        c = self._read("reading the RF card capability", native.es_get_rf_card_cap, native.RFCardCap)
        return rec.RFCardCap(**_flags(c))

    def rf_card_param(self) -> rec.RFCardParam:
        c = self._read("reading the RF card settings", native.es_get_rf_card_param, native.RFCardParam)
        return rec.RFCardParam(**_flags(c))

    def set_rf_card_param(self, param: rec.RFCardParam) -> None:
        c = native.RFCardParam(m1_card=param.m1_card, cpu_card=param.cpu_card,
                               id_card=param.id_card, em_card=param.em_card)
        self._call("setting the RF card settings", native.es_set_rf_card_param, ctypes.byref(c))

    # ---- cards and identity cards -----------------------------------------------------

    def card(self) -> str:
        """The number of the card presented to the reader."""
        text = native.c_text()
        self._call("reading the card", native.es_capture_card, ctypes.byref(text))
        try:
            return _text(text)
        finally:
            native.es_text_free(text)

    def set_card_rule(self, rule: rec.CaptureRule) -> None:
        c = native.CaptureRule(card_no_len_auto=rule.card_no_len_auto, card_no_len=rule.card_no_len,
                               card_timeout=rule.card_timeout)
        self._call("setting the card rule", native.es_set_capture_card_rule, ctypes.byref(c))

    def identity_card(self) -> rec.IdentityCard:
        c = self._read("reading the identity card", native.es_capture_id_card, native.Identity)
        try:
            texts = {name: _text(getattr(c, name))
                     for name in native.IDENTITY_TEXTS + native.IDENTITY_TEXTS_AFTER_NATION}
            return rec.IdentityCard(nation=c.nation, fingerprints=_texts(c.fingerprints, c.fingerprint_count),
                                    pic=_text(c.pic), **texts)
        finally:
            native.es_identity_free(ctypes.byref(c))

    # ---- biometrics -------------------------------------------------------------------

    def fingerprint(self, timeout: Optional[float] = None) -> rec.Fingerprint:
        """Collects a fingerprint; waits for the person at the reader, at most
        `timeout` seconds between the station's reports when given (then
        StationError 69-8208). cancel() from another thread ends the wait."""
        with self._stream_timeout(timeout):
            c = self._read("collecting a fingerprint", native.es_capture_fingerprint, native.Fingerprint)
        try:
            picture = ctypes.string_at(c.pic, c.pic_length) if c.pic_length else b""
            return rec.Fingerprint(_text(c.data), picture, c.quality)
        finally:
            native.es_fingerprint_free(ctypes.byref(c))

    def face(self, timeout: Optional[float] = None) -> rec.Face:
        """Collects a face, like fingerprint()."""
        with self._stream_timeout(timeout):
            c = self._read("collecting a face", native.es_capture_face, native.Face)
        try:
            return rec.Face(_text(c.template1), c.template1_quality, _text(c.template2),
                            c.template2_quality, _text(c.face_data), c.face_data_quality,
                            _text(c.infrared_face_data), c.infrared_face_data_quality,
                            _feature(c.feature))
        finally:
            native.es_face_free(ctypes.byref(c))

    # ---- offline store ----------------------------------------------------------------

    def search_list(self) -> List[rec.SearchRecord]:
        """The whole offline store at once; [] when it is empty."""
        result = native.SearchResult()
        status = native.es_search_list(self._handle, ctypes.byref(result))
        if not status.ok and status.main == 0 and status.sub == 0:
            return []  # an empty store
        self._check("searching the offline store", status)
        records = []
        try:
            for i in range(result.count):
                record = _search_record(result.records[i])
                native.es_search_record_free(ctypes.byref(result.records[i]))  # one copy at a time
                if record is not None:
                    records.append(record)
            return records
        finally:
            native.es_search_result_free(ctypes.byref(result))

    def search(self, timeout: Optional[float] = None) -> Iterator[rec.SearchRecord]:
        """Yields the offline store's records as they arrive. Leaving the loop
        early ends the search on the station. With `timeout`, a station silent
        for that many seconds ends it with StationError 69-8208."""
        with self._stream_timeout(timeout):
            yield from self._stream_search()

    def _stream_search(self) -> Iterator[rec.SearchRecord]:
        operation = "searching the offline store"
        if not self._handle:
            raise ValueError("the station has been closed")
        feed = _Feed()
        number = next(_feed_numbers)
        _feeds[number] = feed
        outcome = []

        def run():
            outcome.append(native.es_search(self._handle, _on_document, number))
            feed.put(_END)

        worker = threading.Thread(target=run, name="enrollmentstation-search", daemon=True)
        worker.start()
        last_status = None
        try:
            item = feed.queue.get()
            while item is not _END:
                last_status, record = _read_document(item)
                if last_status == native.SEARCH_FAILED:
                    raise StationError(operation, 69, 8203, "the station reported the search failed")
                if record is not None:
                    yield record
                item = feed.queue.get()
            status = outcome[0]
            self._check(operation, status)
            if last_status not in (native.SEARCH_LAST, native.SEARCH_NO_MATCH):
                self._raise_truncated(operation, feed, status)
        finally:
            feed.closed = True
            if worker.is_alive():
                self.cancel()
                worker.join()
            _feeds.pop(number, None)

    def _raise_truncated(self, operation, feed, status):
        """A search that ended before its last record: the station's failure
        document may still be on its way; the code says why when there is one."""
        try:
            while True:
                late = feed.queue.get(timeout=LATE_FAILURE_WAIT)
                if late is not _END and _read_document(late)[0] == native.SEARCH_FAILED:
                    break
        except queue.Empty:
            pass
        if status.main or status.sub:
            raise StationError(operation, status.main, status.sub, status.text.decode(),
                               *self._refusal(status))
        raise StationError(operation, 69, 8203, "the search ended before its last record")

    def stop_search(self) -> None:
        """Asks a running search() to end after the station's next report."""
        self._call("stopping the search", native.es_stop_search)

    def cancel(self) -> bool:
        """Ends the streaming operation or file transfer running on this
        station, from any thread; it raises StationError 69-8207. False when
        nothing ran."""
        return bool(native.es_cancel_current_operation(self._handle).ok)

    def set_offline_rule(self, rule: rec.OfflineRule) -> None:
        id_arrays = [(native.c_int32 * len(i.fingerprint_ids))(*i.fingerprint_ids) for i in rule.items]
        items = (native.OfflineRuleItem * max(len(rule.items), 1))()
        for c, item, ids in zip(items, rule.items, id_arrays):
            c.data_type = item.data_type.encode()
            c.enable, c.unique_check, c.len, c.num = item.enable, item.unique_check, item.len, item.num
            c.fingerprint_ids = ctypes.cast(ids, ctypes.POINTER(native.c_int32))
            c.fingerprint_id_count = len(item.fingerprint_ids)
        c_rule = native.OfflineRule(req_admin_rights=rule.req_admin_rights,
                                    card_no_len_auto=rule.card_no_len_auto,
                                    items=ctypes.cast(items, ctypes.POINTER(native.OfflineRuleItem)),
                                    item_count=len(rule.items))
        self._call("setting the offline capture rule", native.es_set_offline_capture_rule,
                   ctypes.byref(c_rule))

    def upload_failed_details(self) -> str:
        c = self._read("reading the upload-failed details", native.es_get_upload_failed_details,
                       native.UploadFailedDetails)
        try:
            return _text(c.description)
        finally:
            native.es_upload_failed_details_free(ctypes.byref(c))

    def clear_store(self) -> None:
        """Empties the station's offline store."""
        self._call("clearing the offline store", native.es_clear_station_data)

    # ---- face parameters and language ---------------------------------------------------

    def face_param(self) -> rec.FaceParam:
        c = self._read("reading the face parameters", native.es_get_face_param, native.FaceParam)
        return rec.FaceParam(bool(c.enable), c.value)

    def set_face_param(self, param: rec.FaceParam) -> None:
        c = native.FaceParam(enable=param.enable, value=param.value)
        self._call("setting the face parameters", native.es_set_face_param, ctypes.byref(c))

    def language(self) -> int:
        """The device's language type, 1 or 2."""
        value = ctypes.c_int(0)
        self._call("reading the device language", native.es_get_device_language, ctypes.byref(value))
        return value.value

    # ---- file transfer ---------------------------------------------------------------------

    _PROGRESS_NAMES = {native.PROGRESS_FACE_CAPTURE: "face", native.PROGRESS_UPLOAD: "upload",
                       native.PROGRESS_DOWNLOAD: "download"}

    def set_progress_callback(self, callback: Optional[Callable[[str, int], None]]) -> None:
        """Calls ``callback(operation, percent)`` with the progress of later
        face captures ("face", on the library's thread, once per report of
        the station) and file transfers ("upload", "download", whenever the
        progress changes); percent is 0 to 100. It must not use this station;
        what it raises is printed and dropped. None turns the reports off."""
        if callback is None:
            relay = native.ProgressCallback()  # a null pointer
        else:
            names = self._PROGRESS_NAMES

            def forward(operation, percent, _user):
                callback(names.get(operation, str(operation)), percent)

            relay = native.ProgressCallback(forward)
        self._call("setting the progress callback", native.es_set_progress_callback, relay, None)
        self._progress_relay = relay  # the library keeps its address

    def upload(self, path) -> None:
        self._call("uploading " + os.fspath(path), native.es_upload_file, os.fsencode(path))

    def download(self, path) -> None:
        self._call("downloading to " + os.fspath(path), native.es_download_file, os.fsencode(path))

    # ---- stream time-out ------------------------------------------------------------------

    def _stream_timeout(self, timeout: Optional[float]):
        return _StreamTimeout(self, timeout)


class _StreamTimeout:
    """Sets the longest wait for the station's next report for one operation."""

    def __init__(self, station: Station, timeout: Optional[float]):
        self.station = station
        self.milliseconds = None if timeout is None else max(1, int(timeout * 1000))

    def __enter__(self):
        if self.milliseconds is None:
            return
        self.station._call("setting the stream time-out", native.es_set_stream_timeout, self.milliseconds)

    def __exit__(self, *exc):
        if self.milliseconds is not None:
            native.es_set_stream_timeout(self.station._handle, 0)
