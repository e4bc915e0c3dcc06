"""Drive an enrollment station from Python.

    from enrollmentstation import Station

    with Station("127.0.0.1", password="...") as st:
        print(st.card())
        for record in st.search():
            print(record.person.name)

The package calls the EnrollmentStation shared library through its C
interface. It is found beside this package, in the install prefix, or at the
path in ENROLLMENTSTATION_LIBRARY.
"""

from .records import (CaptureAbility, CaptureRule, Face, FaceFeature, FaceParam, Fingerprint,
                      FingerprintTemplate, IdentityCard, OfflineRule, OfflineRuleItem, Person, Point,
                      Region, RFCardCap, RFCardParam, SearchRecord)
from .station import Station, StationError

__all__ = ["Station", "StationError", "CaptureAbility", "CaptureRule", "Face", "FaceFeature",
           "FaceParam", "Fingerprint", "FingerprintTemplate", "IdentityCard", "OfflineRule",
           "OfflineRuleItem", "Person", "Point", "Region", "RFCardCap", "RFCardParam", "SearchRecord"]
__version__ = "0.1.0"
