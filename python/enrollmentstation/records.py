"""The records a station hands out and takes, as dataclasses."""

from dataclasses import dataclass, field
from typing import List


@dataclass
class CaptureAbility:
    """Which kinds of capture the station supports."""
    card: bool = False
    id_card: bool = False
    card_rule: bool = False
    preset_param: bool = False
    fingerprint: bool = False
    face: bool = False


@dataclass
class RFCardCap:
    """Which RF card types the reader offers."""
    em_card: bool = False
    m1_card: bool = False
    cpu_card: bool = False
    id_card: bool = False


@dataclass
class RFCardParam:
    """Which RF card types the reader reads."""
    m1_card: bool = False
    cpu_card: bool = False
    id_card: bool = False
    em_card: bool = False


@dataclass
class CaptureRule:
    """How the station reads card numbers."""
    card_no_len_auto: bool = False
    card_no_len: int = 0
    card_timeout: int = 0


@dataclass
class IdentityCard:
    """An identity card as the station read it; texts exactly as it sent them."""
    chn_name: str = ""
    en_name: str = ""
    sex: str = ""
    birth: str = ""
    addr: str = ""
    id_card_no: str = ""
    issuing_authority: str = ""
    start_date: str = ""
    end_date: str = ""
    nation: int = 0
    pass_no: str = ""
    issue_number: str = ""
    certificate_type: str = ""
    permanent_residence_card_no: str = ""
    nationality_or_area_code: str = ""
    version: str = ""
    receiving_authority_code: str = ""
    fingerprints: List[str] = field(default_factory=list)
    pic: str = ""  # Base64


@dataclass
class Fingerprint:
    """One collected fingerprint."""
    data: str = ""          # template, uppercase hex text
    picture: bytes = b""
    quality: int = 0


@dataclass
class Region:
    height: float = 0.0
    width: float = 0.0
    x: float = 0.0
    y: float = 0.0


@dataclass
class Point:
    x: float = 0.0
    y: float = 0.0


@dataclass
class FaceFeature:
    """Face geometry, in the station's units."""
    region: Region = field(default_factory=Region)
    left_eye: Point = field(default_factory=Point)
    right_eye: Point = field(default_factory=Point)
    left_mouth: Point = field(default_factory=Point)
    right_mouth: Point = field(default_factory=Point)
    nose_tip: Point = field(default_factory=Point)


@dataclass
class Face:
    """One collected face; templates and pictures as Base64 text."""
    template1: str = ""
    template1_quality: int = 0
    template2: str = ""
    template2_quality: int = 0
    face_data: str = ""
    face_data_quality: int = 0
    infrared_face_data: str = ""
    infrared_face_data_quality: int = 0
    feature: FaceFeature = field(default_factory=FaceFeature)


@dataclass
class FingerprintTemplate:
    id: int = 0
    fingerprint: str = ""  # uppercase hex text


@dataclass
class Person:
    """One captured person record of the offline store."""
    last_capture_no: int = 0
    capture_no: int = 0
    name: str = ""
    employee_no: str = ""
    id_card_no: str = ""
    card_nos: List[str] = field(default_factory=list)
    fingerprints: List[FingerprintTemplate] = field(default_factory=list)
    face_feature: FaceFeature = field(default_factory=FaceFeature)
    risk_data_mark: bool = False


@dataclass
class SearchRecord:
    """One person of the offline store with the status of the page that carried it."""
    person: Person = field(default_factory=Person)
    face_data: str = ""           # Base64; empty when none or 204800 bytes or more
    infrared_face_data: str = ""  # likewise
    search_id: str = ""
    status: str = ""              # "MORE", or "OK" for the last record
    num_of_matches: int = 0
    total_matches: int = 0


@dataclass
class OfflineRuleItem:
    data_type: str  # "name", "employeeNo", "IDCardNo", "cardNo", "fingerprint" or "face"
    enable: bool = True
    unique_check: bool = False
    len: int = 0
    num: int = 0
    fingerprint_ids: List[int] = field(default_factory=list)


@dataclass
class OfflineRule:
    """What the station captures into its offline store."""
    req_admin_rights: bool = False
    card_no_len_auto: bool = False
    items: List[OfflineRuleItem] = field(default_factory=list)


@dataclass
class FaceParam:
    enable: bool = False
    value: int = 0  # the station keeps the low 8 bits
