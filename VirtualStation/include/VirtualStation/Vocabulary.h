// The virtual station's vocabulary: the records its control API speaks in,
// shared by every family of control calls (StationControl.h, ConfigControl.h,
// StreamControl.h, TransferControl.h, PersonControl.h).
//
// Thread safety and ownership: plain values; copy them freely.
#ifndef VSTATION_VOCABULARY_H
#define VSTATION_VOCABULARY_H

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32)
#  if defined(VSTATION_BUILD)
#    define VSTATION_API __declspec(dllexport)
#  else
#    define VSTATION_API __declspec(dllimport)
#  endif
#else
#  define VSTATION_API __attribute__((visibility("default")))
#endif

namespace vstation {

// ---- the station as a whole -----------------------------------------------

// One NET_DVR_* call as the SDK received it.
struct CallRecord {
    std::string call;               // function name, e.g. "NET_DVR_Login_V40"
    std::vector<int64_t> args;      // scalar arguments in order (handles, commands, sizes)
    std::vector<uint8_t> record;    // copy of the main record handed in, if any
    std::string text;               // texts handed in (request line + body, path, page)
    std::chrono::steady_clock::time_point at;  // when the call came in
};

// Handles that are open now, by kind.
struct HandleCounts {
    int logins = 0;
    int longConnections = 0;
    int uploads = 0;
    int downloads = 0;
    int total() const { return logins + longConnections + uploads + downloads; }
};

// ---- file transfer --------------------------------------------------------

enum class TransferKind { Upload, Download };

// ---- configuration protocol -----------------------------------------------

// What a station's configuration requests have left behind.
struct RFCardSetting {
    std::string cardType;
    bool enabled = false;
};
struct ConfigSnapshot {
    std::vector<RFCardSetting> rfCards;  // the offered card types, in the station's order
    bool enableCardNoLenAuto = false;    // the card capture rule
    int32_t cardNoLen = 0;
    int32_t cardTimeout = 0;
    std::string offlineRule;  // compact JSON of the last accepted "RuleInfo" object; "" before any
    size_t storedRecords = 0;  // records in the offline store
};

// ---- long connections: fingerprint, face, offline store -------------------

struct FacePoint2D {
    double x = 0;
    double y = 0;
};

// Face geometry in the station's units. The live face record carries it as
// 32-bit floats; offline records as JSON numbers.
struct FaceGeometry {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    FacePoint2D leftEye;
    FacePoint2D rightEye;
    FacePoint2D leftMouth;
    FacePoint2D rightMouth;
    FacePoint2D noseTip;
};

// What the reader collects for the next fingerprints. Bytes are raw; the
// template is cut to 768 bytes.
struct FingerprintSample {
    std::string templateBytes;
    std::string picture;
    uint8_t quality = 0;
};

// What the camera collects for the next faces. Empty items are not sent.
struct FaceSample {
    std::string template1;
    uint8_t template1Quality = 0;
    std::string template2;
    uint8_t template2Quality = 0;
    std::string picture;
    uint8_t pictureQuality = 0;
    std::string infraredPicture;
    uint8_t infraredPictureQuality = 0;
    FaceGeometry geometry;
    int progressReports = 4;  // data reports below 100 % before each complete one
};

// One captured person record of the offline store.
struct OfflineFingerprint {
    int32_t fingerprintID = 0;
    std::string fingerprint;  // sent as given: Base64 text of the template
};
struct OfflineRecord {
    int32_t lastCaptureNo = 0;
    int32_t captureNo = 0;
    std::string name;
    std::string employeeNo;
    std::string IDCardNo;
    std::vector<std::string> cardNoList;
    std::vector<OfflineFingerprint> fingerprints;
    FaceGeometry faceFeature;
    bool riskDataMark = false;
    std::string facePicture;      // raw bytes; empty: none
    std::string infraredPicture;  // raw bytes; empty: none
};

// `count` made-up people (numbered on from the store's size) with pictures of
// the given sizes (0: none; a size that fits is a real PNG, padded) and
// `fingerprints` templates of 512 bytes each. Pictures of one size are shared
// by every eighth person, so a large store stays small.
struct GeneratedRecords {
    size_t count = 0;
    size_t facePictureBytes = 0;
    size_t infraredPictureBytes = 0;
    int fingerprints = 0;
};

// How the next connection of a command ends, instead of the usual way.
enum class StreamEnding {
    Normal,           // collect: status 1000 after the data; search: answers to the end of the store
    Finished,         // status 1000 (search: instead of the next answer)
    Failed,           // status 1002 with `error` as its second word
    Exception,        // status 1003 with `error` at byte 16
    Silent,           // no report at all any more; only a stop ends it
    ForeignSearchID,  // search: the next answer carries another search ID
    Unparsable,       // search: the next answer is not JSON
};
struct StreamScript {
    StreamEnding ending = StreamEnding::Normal;
    // Collect: complete data reports before the ending; search: records
    // answered before it. -1: the usual course for Normal (one result; the
    // whole store), none before any other ending.
    int records = -1;
    int32_t error = 0;
    // Length of the ending's status report; 0: 4 for 1000, 8 for 1002, 20 for 1003.
    uint32_t statusLength = 0;
    // Search: the first pages are answered "MORE" with no record.
    int emptyPages = 0;
    // Collect: pause before each data report in milliseconds, pacing or not;
    // 0 leaves it to the pacing.
    int reportDelayMs = 0;
    // Collect: complete data reports sent after the ending, `lateDelayMs`
    // apart, as a station that missed the end sends them. They reach the
    // client only while the connection stays open (its close failed).
    int lateRecords = 0;
    int lateDelayMs = 0;
    // Collect: the template the late reports carry (the face's first
    // template); empty: the sample's.
    std::string lateTemplate;
};

// ---- faults switched on (StationControl.h: armedFaults) ---------------------

enum class ArmedKind {
    CallFails,        // calls of `call` fail with `error`
    ScriptedReply,    // configuration requests with the line `call` ("": any line) get a scripted answer
    ScriptedAbility,  // ability requests get a scripted document
    StreamEnding,     // the next connections of `command` go as `ending` and `reportDelayMs` say
};
struct ArmedFault {
    ArmedKind kind = ArmedKind::CallFails;
    std::string call;
    int32_t error = 0;
    bool succeeds = false;  // ScriptedReply: the answer claims success (else it is a status document)
    uint32_t command = 0;
    StreamEnding ending = StreamEnding::Normal;
    int reportDelayMs = 0;
    // Calls (StreamEnding: connections) it still applies to; -1: until cleared.
    int remaining = 0;
};

}  // namespace vstation

#endif  // VSTATION_VOCABULARY_H
