"""ctypes declarations of the C interface (EnrollmentStation/EnrollmentStationC.h)
and how the shared library is found."""

import ctypes
import os
import sys
from pathlib import Path

# ---- finding the library ------------------------------------------------------

if sys.platform == "win32":
    _NAMES = ["EnrollmentStation.dll", "libEnrollmentStation.dll"]
    _FOLDERS = ["bin", "lib"]
elif sys.platform == "darwin":
    _NAMES = ["libEnrollmentStation.dylib"]
    _FOLDERS = ["lib"]
else:
    _NAMES = ["libEnrollmentStation.so", "libEnrollmentStation.so.0"]
    _FOLDERS = ["lib", "lib64"]


def _candidates():
    """Where the library may be, in the order it is looked for."""
    explicit = os.environ.get("ENROLLMENTSTATION_LIBRARY")
    if explicit:
        yield Path(explicit)
        return
    here = Path(__file__).resolve().parent
    for name in _NAMES:
        yield here / name
    # Installed into a prefix: the package sits below <prefix>/lib/pythonX.Y/...,
    # so every folder above it may be the prefix.
    prefixes = list(here.parents) + [Path(sys.prefix)]
    for prefix in prefixes:
        for folder in _FOLDERS:
            for name in _NAMES:
                yield prefix / folder / name
                if sys.platform.startswith("linux"):
                    yield from (prefix / folder).glob("*-linux-gnu/" + name)


def _load():
    tried = []
    for path in _candidates():
        if path.is_file():
            return ctypes.CDLL(str(path))
        tried.append(str(path))
    # Last, the system's own search (LD_LIBRARY_PATH, ld.so.cache, PATH).
    for name in _NAMES:
        try:
            return ctypes.CDLL(name)
        except OSError:
            pass
    raise OSError(
        "the EnrollmentStation library was not found; set ENROLLMENTSTATION_LIBRARY "
        "to its path. Looked in: " + ", ".join(tried[:6]) + (" ..." if len(tried) > 6 else "")
    )


lib = _load()

# ---- types --------------------------------------------------------------------

c_int = ctypes.c_int
c_int32 = ctypes.c_int32
c_uint32 = ctypes.c_uint32
c_size_t = ctypes.c_size_t
c_double = ctypes.c_double
c_char_p = ctypes.c_char_p
c_text = ctypes.POINTER(ctypes.c_char)  # library-owned text, read before it is freed


class Status(ctypes.Structure):
    _fields_ = [("ok", c_int), ("main", c_int), ("sub", c_int), ("text", c_char_p)]


class Sized(ctypes.Structure):
    """A record whose first field is its own size."""

    def __init__(self, **fields):
        super().__init__(size=ctypes.sizeof(self), **fields)


class LoginParam(Sized):
    _fields_ = [("size", c_uint32), ("address", c_char_p), ("port", c_char_p),
                ("user", c_char_p), ("password", c_char_p)]


class CaptureAbility(Sized):
    _fields_ = [("size", c_uint32), ("card", c_int), ("id_card", c_int), ("card_rule", c_int),
                ("preset_param", c_int), ("fingerprint", c_int), ("face", c_int)]


class RFCardCap(Sized):
    _fields_ = [("size", c_uint32), ("em_card", c_int), ("m1_card", c_int), ("cpu_card", c_int),
                ("id_card", c_int)]


class RFCardParam(Sized):
    _fields_ = [("size", c_uint32), ("m1_card", c_int), ("cpu_card", c_int), ("id_card", c_int),
                ("em_card", c_int)]


class CaptureRule(Sized):
    _fields_ = [("size", c_uint32), ("card_no_len_auto", c_int), ("card_no_len", c_int32),
                ("card_timeout", c_int32)]


IDENTITY_TEXTS = ["chn_name", "en_name", "sex", "birth", "addr", "id_card_no", "issuing_authority",
                  "start_date", "end_date"]
IDENTITY_TEXTS_AFTER_NATION = ["pass_no", "issue_number", "certificate_type",
                               "permanent_residence_card_no", "nationality_or_area_code", "version",
                               "receiving_authority_code"]


class Identity(Sized):
    _fields_ = ([("size", c_uint32)] + [(name, c_text) for name in IDENTITY_TEXTS]
                + [("nation", c_int32)] + [(name, c_text) for name in IDENTITY_TEXTS_AFTER_NATION]
                + [("fingerprints", ctypes.POINTER(c_text)), ("fingerprint_count", c_size_t),
                   ("pic", c_text)])


class Fingerprint(Sized):
    _fields_ = [("size", c_uint32), ("data", c_text), ("pic", ctypes.POINTER(ctypes.c_ubyte)),
                ("pic_length", c_size_t), ("quality", c_int32)]


class Region(ctypes.Structure):
    _fields_ = [("height", c_double), ("width", c_double), ("x", c_double), ("y", c_double)]


class Point(ctypes.Structure):
    _fields_ = [("x", c_double), ("y", c_double)]


class FaceFeature(ctypes.Structure):
    _fields_ = [("region", Region), ("left_eye", Point), ("right_eye", Point),
                ("left_mouth", Point), ("right_mouth", Point), ("nose_tip", Point)]


class Face(Sized):
    _fields_ = [("size", c_uint32), ("template1", c_text), ("template1_quality", c_int32),
                ("template2", c_text), ("template2_quality", c_int32),
                ("face_data", c_text), ("face_data_quality", c_int32),
                ("infrared_face_data", c_text), ("infrared_face_data_quality", c_int32),
                ("feature", FaceFeature)]


class FingerprintInfo(ctypes.Structure):
    _fields_ = [("id", c_int32), ("fingerprint", c_text)]


class DataCollect(ctypes.Structure):
    _fields_ = [("last_capture_no", c_int32), ("capture_no", c_int32), ("name", c_text),
                ("employee_no", c_text), ("id_card_no", c_text),
                ("card_nos", ctypes.POINTER(c_text)), ("card_no_count", c_size_t),
                ("fingerprints", ctypes.POINTER(FingerprintInfo)), ("fingerprint_count", c_size_t),
                ("face_feature", FaceFeature), ("risk_data_mark", c_int)]


class SearchRecord(Sized):
    _fields_ = [("size", c_uint32), ("face_data", c_text), ("infrared_face_data", c_text),
                ("search_id", c_text), ("response_status", c_text),
                ("num_of_matches", c_int32), ("total_matches", c_int32),
                ("data_collects", ctypes.POINTER(DataCollect)), ("data_collect_count", c_size_t)]


class SearchResult(Sized):
    _fields_ = [("size", c_uint32), ("records", ctypes.POINTER(SearchRecord)), ("count", c_size_t)]


class OfflineRuleItem(ctypes.Structure):
    _fields_ = [("data_type", c_char_p), ("enable", c_int), ("unique_check", c_int),
                ("len", c_int32), ("num", c_int32),
                ("fingerprint_ids", ctypes.POINTER(c_int32)), ("fingerprint_id_count", c_size_t)]


class OfflineRule(Sized):
    _fields_ = [("size", c_uint32), ("req_admin_rights", c_int), ("card_no_len_auto", c_int),
                ("items", ctypes.POINTER(OfflineRuleItem)), ("item_count", c_size_t)]


class UploadFailedDetails(Sized):
    _fields_ = [("size", c_uint32), ("description", c_text)]


class FaceParam(Sized):
    _fields_ = [("size", c_uint32), ("enable", c_int), ("value", c_int32)]


class StationStatus(Sized):
    _fields_ = [("size", c_uint32), ("request_url", c_text), ("status_code", c_int32),
                ("status_string", c_text), ("sub_status_code", c_text), ("error_code", c_uint32),
                ("error_msg", c_text), ("try_times", c_int32)]


# What one search document says (ES_SEARCH_ values).
SEARCH_MORE, SEARCH_LAST, SEARCH_NO_MATCH, SEARCH_FAILED, SEARCH_UNREADABLE = range(5)

SearchCallback = ctypes.CFUNCTYPE(c_int, ctypes.POINTER(ctypes.c_char), c_size_t, ctypes.c_void_p)

# What a progress report is about (ES_PROGRESS_ values).
PROGRESS_FACE_CAPTURE, PROGRESS_UPLOAD, PROGRESS_DOWNLOAD = 1, 2, 3

ProgressCallback = ctypes.CFUNCTYPE(None, c_int, c_int, ctypes.c_void_p)

# ---- functions ------------------------------------------------------------------

station_p = ctypes.c_void_p


def _declare(name, *argtypes, restype=Status):
    function = getattr(lib, name)
    function.argtypes = list(argtypes)
    function.restype = restype
    return function


P = ctypes.POINTER
es_station_create = _declare("es_station_create", P(station_p))
es_station_destroy = _declare("es_station_destroy", station_p, restype=None)
es_login = _declare("es_login", station_p, P(LoginParam), P(c_int32))
es_logout = _declare("es_logout", station_p)
es_is_init = _declare("es_is_init", station_p, P(c_int))
es_set_is_init = _declare("es_set_is_init", station_p, c_int, c_int32)
es_set_sdk_log_path = _declare("es_set_sdk_log_path", station_p, c_char_p)
es_get_capture_ability = _declare("es_get_capture_ability", station_p, P(CaptureAbility))
es_get_rf_card_cap = _declare("es_get_rf_card_cap", station_p, P(RFCardCap))
es_set_rf_card_param = _declare("es_set_rf_card_param", station_p, P(RFCardParam))
es_get_rf_card_param = _declare("es_get_rf_card_param", station_p, P(RFCardParam))
es_capture_card = _declare("es_capture_card", station_p, P(c_text))
es_set_capture_card_rule = _declare("es_set_capture_card_rule", station_p, P(CaptureRule))
es_capture_id_card = _declare("es_capture_id_card", station_p, P(Identity))
es_capture_fingerprint = _declare("es_capture_fingerprint", station_p, P(Fingerprint))
es_capture_face = _declare("es_capture_face", station_p, P(Face))
es_search_list = _declare("es_search_list", station_p, P(SearchResult))
es_search = _declare("es_search", station_p, SearchCallback, ctypes.c_void_p)
es_read_search_document = _declare("es_read_search_document", ctypes.c_char_p, c_size_t, P(c_int),
                                   P(SearchRecord))
es_stop_search = _declare("es_stop_search", station_p)
es_set_offline_capture_rule = _declare("es_set_offline_capture_rule", station_p, P(OfflineRule))
es_get_upload_failed_details = _declare("es_get_upload_failed_details", station_p,
                                        P(UploadFailedDetails))
es_clear_station_data = _declare("es_clear_station_data", station_p)
es_set_face_param = _declare("es_set_face_param", station_p, P(FaceParam))
es_get_face_param = _declare("es_get_face_param", station_p, P(FaceParam))
es_get_device_language = _declare("es_get_device_language", station_p, P(c_int))
es_cancel_current_operation = _declare("es_cancel_current_operation", station_p)
es_set_stream_timeout = _declare("es_set_stream_timeout", station_p, c_int)
es_set_progress_callback = _declare("es_set_progress_callback", station_p, ProgressCallback, ctypes.c_void_p)
es_get_last_station_status = _declare("es_get_last_station_status", station_p, P(StationStatus))
es_upload_file = _declare("es_upload_file", station_p, c_char_p)
es_download_file = _declare("es_download_file", station_p, c_char_p)

es_text_free = _declare("es_text_free", c_text, restype=None)
es_identity_free = _declare("es_identity_free", P(Identity), restype=None)
es_fingerprint_free = _declare("es_fingerprint_free", P(Fingerprint), restype=None)
es_face_free = _declare("es_face_free", P(Face), restype=None)
es_search_record_free = _declare("es_search_record_free", P(SearchRecord), restype=None)
es_station_status_free = _declare("es_station_status_free", P(StationStatus), restype=None)
es_search_result_free = _declare("es_search_result_free", P(SearchResult), restype=None)
es_upload_failed_details_free = _declare("es_upload_failed_details_free", P(UploadFailedDetails),
                                         restype=None)
