// Reading the station's two XML capability documents.
//
// Both scans look only at the root element's direct element children and
// search the names in a fixed order. A search that finds its name moves the
// start of the next search behind that element; a search that fails leaves
// the start where it was. An element standing before the last one found is
// therefore not seen - stations write the names in the scan order.
#ifndef ENROLLMENTSTATION_CAPABILITYDOCUMENT_H
#define ENROLLMENTSTATION_CAPABILITYDOCUMENT_H

#include <cstddef>
#include <string>

namespace EnrollmentStation {

// Flags of the access-control capability document, in scan order.
struct CapabilityFlags {
    bool rfCardCfg = false;           // "isSupportRFCardCfg"
    bool captureCardInfo = false;     // "isSupportCaptureCardInfo"
    bool captureIDInfo = false;       // "isSupportCaptureIDInfo"
    bool captureCardRule = false;     // "isSupportCaptureCardRule"
    bool capturePresetParam = false;  // "isSupportCapturePresetParam"
};

// Flags of the access-control ability document: the element is present.
struct AbilityFlags {
    bool captureFingerPrint = false;  // "CaptureFingerPrint"
    bool captureFace = false;         // "CaptureFace"
};

// A flag is true when its element's text is exactly "true" or "1". Text
// that is empty, not XML or without a root element gives all flags false.
CapabilityFlags scanCapabilityDocument(const std::string& text);

// Reads the document from a reply buffer of `size` bytes, up to its first
// zero byte or its end.
AbilityFlags scanAbilityDocument(const char* buffer, size_t size);

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_CAPABILITYDOCUMENT_H
