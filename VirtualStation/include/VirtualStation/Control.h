// Control API of the virtual station (the stand-in device network SDK).
//
// Tests and tools use it beside the NET_DVR_* calls: load a profile (the
// stations, their accounts and contents), script faults, read the call log,
// count open handles. It is not part of the SDK's interface; a client built
// for real stations never calls it.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_CONTROL_H
#define VSTATION_CONTROL_H

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

// One NET_DVR_* call as the SDK received it.
struct CallRecord {
    std::string call;               // function name, e.g. "NET_DVR_Login_V40"
    std::vector<int64_t> args;      // scalar arguments in order (handles, commands, sizes)
    std::vector<uint8_t> record;    // copy of the main record handed in, if any
    std::string text;               // texts handed in (request line + body, path, page)
};

// Handles that are open now, by kind.
struct HandleCounts {
    int logins = 0;
    int longConnections = 0;
    int uploads = 0;
    int downloads = 0;
    int total() const { return logins + longConnections + uploads + downloads; }
};

// ---- profile and state ----------------------------------------------------
// Replaces every station with those of `jsonText` (format: docs/virtual-station.md).
// On failure nothing changes and `error` says why.
VSTATION_API bool loadProfile(const std::string& jsonText, std::string* error = nullptr);
VSTATION_API bool loadProfileFile(const std::string& path, std::string* error = nullptr);
// The built-in profile: one station at 127.0.0.1:8000.
VSTATION_API std::string defaultProfile();
// Back to the state of a freshly loaded SDK: built-in profile, fresh station
// state, no sessions, init count 0, no faults, empty call log. Pacing is kept.
VSTATION_API void reset();

// ---- faults ---------------------------------------------------------------
// The next `times` calls of `call` (a NET_DVR_* name) fail with `error`.
VSTATION_API void failNext(const std::string& call, int32_t error, int times = 1);
// Every call of `call` fails with `error` until clearFaults().
VSTATION_API void failAlways(const std::string& call, int32_t error);
VSTATION_API void clearFaults();

// ---- observation ----------------------------------------------------------
VSTATION_API std::vector<CallRecord> callLog();
VSTATION_API void clearCallLog();
VSTATION_API HandleCounts openHandles();
// Balance of NET_DVR_Init over NET_DVR_Cleanup calls.
VSTATION_API int initCount();
// What an SDK error number means, in words.
VSTATION_API const char* errorText(int32_t error);

// ---- pacing ---------------------------------------------------------------
// With pacing on (the default) the station takes the time a person at the
// reader would; tests turn it off. VSTATION_PACING=0 in the environment
// starts the process with pacing off.
VSTATION_API void setPacing(bool on);
VSTATION_API bool pacing();

// ==== file transfer =========================================================
// The station keeps one file: a download of type 40 returns it, an upload of
// type 56 replaces it. A transfer advances by one chunk per state query.

enum class TransferKind { Upload, Download };

// The next transfer of `kind` answers "running" (2) to its first `afterPolls`
// state queries, however far it got, and `state` to the one after; it ends
// there and leaves no partial file. `state` is 3 (failed), 4 (aborted) or any
// value other than 1 and 2 (false, and nothing armed, for 1 and 2). A second
// call before that transfer starts replaces the first. Dropped when the SDK
// state goes away (reset(), the last NET_DVR_Cleanup).
VSTATION_API bool failTransferAt(TransferKind kind, int32_t state, int afterPolls = 0);
// Bytes a transfer copies per state query, for transfers started afterwards;
// 0 restores the default (1 MiB). Restored with the SDK state, as above.
VSTATION_API void setTransferChunkSize(size_t bytes);
// The file of the station at address:port. False when there is no such
// station or the station's disk refuses.
VSTATION_API bool setStationFile(const std::string& bytes, const std::string& address = "127.0.0.1",
                                 uint16_t port = 8000);
VSTATION_API bool stationFile(std::string* bytes, const std::string& address = "127.0.0.1",
                              uint16_t port = 8000);
// ==== end file transfer =====================================================

// ==== configuration protocol =================================================
// One-shot requests (NET_DVR_STDXMLConfig) and the ability document
// (NET_DVR_GetDeviceAbility). What is scripted here applies to whichever
// station is asked next, in the order scripted, and is dropped when the SDK
// state goes away (reset(), the last NET_DVR_Cleanup). A scripted answer
// replaces the station's own and changes none of its state.

// `requestLine` is matched exactly, "\r\n" included; "" matches every line
// that has no script of its own. `times` answers are queued.
// The reply body `body`, followed by a zero byte.
VSTATION_API void scriptReply(const std::string& requestLine, const std::string& body, int times = 1);
// The request fails with `statusJson` in the status buffer (zero-terminated).
VSTATION_API void scriptStatus(const std::string& requestLine, const std::string& statusJson, int times = 1);
// `bytes` copied verbatim, no zero byte added, into the reply buffer (the
// request succeeds) or, with `intoStatusBuffer`, the status buffer (it
// fails). Bytes that fill the buffer exactly are kept; more fail with
// NET_DVR_ERR_BUFFER_SMALL.
VSTATION_API void scriptRawReply(const std::string& requestLine, const std::string& bytes,
                                 bool intoStatusBuffer = false, int times = 1);
// The next ability document(s): `bytes`, zero-terminated unless `raw`.
VSTATION_API void scriptAbility(const std::string& bytes, bool raw = false, int times = 1);
VSTATION_API void clearScripts();

// Holds a card to the reader: the next card capture of any station reads it,
// before the profile's cards ("EMCard", "M1Card", "CPUCard" or "IDCard"; a
// type the reader has not enabled is refused with a status document).
VSTATION_API void presentCard(const std::string& cardNo, const std::string& cardType = "M1Card");

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
// False when no station answers at address:port.
VSTATION_API bool configState(ConfigSnapshot* snapshot, const std::string& address = "127.0.0.1",
                              uint16_t port = 8000);
// ==== end configuration protocol =============================================

// ==== long connections: fingerprint, face, offline store =====================
// Live collections (commands 2504, 2510) and the offline store search (2554).
// Each connection reports on a thread of its own. A station's samples and
// records live with the station (reset() brings back the profile's or the
// built-in ones); scripts apply to the next connection of their command on
// any station and are dropped when the SDK state goes away.

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

// The built-in samples (drawn face and infrared face, ridge image).
VSTATION_API FingerprintSample builtInFingerprintSample();
VSTATION_API FaceSample builtInFaceSample();
// False when no station answers at address:port.
VSTATION_API bool setFingerprintSample(const FingerprintSample& sample,
                                       const std::string& address = "127.0.0.1", uint16_t port = 8000);
VSTATION_API bool setFaceSample(const FaceSample& sample, const std::string& address = "127.0.0.1",
                                uint16_t port = 8000);

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

// Appends records to the store, in order.
VSTATION_API bool addOfflineRecords(const std::vector<OfflineRecord>& records,
                                    const std::string& address = "127.0.0.1", uint16_t port = 8000);
// Appends `count` made-up people (numbered on from the store's size) with
// pictures of the given sizes (0: none; a size that fits is a real PNG,
// padded) and `fingerprints` templates of 512 bytes each. Pictures of one
// size are shared by every eighth person, so a large store stays small.
struct GeneratedRecords {
    size_t count = 0;
    size_t facePictureBytes = 0;
    size_t infraredPictureBytes = 0;
    int fingerprints = 0;
};
VSTATION_API bool addGeneratedRecords(const GeneratedRecords& plan, const std::string& address = "127.0.0.1",
                                      uint16_t port = 8000);
VSTATION_API bool clearOfflineRecords(const std::string& address = "127.0.0.1", uint16_t port = 8000);
// -1 when no station answers at address:port.
VSTATION_API long offlineRecordCount(const std::string& address = "127.0.0.1", uint16_t port = 8000);

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
};
// `command` is 2504, 2510 or 2554 (false otherwise). A second script for the
// same command waits behind the first.
VSTATION_API bool scriptStream(uint32_t command, const StreamScript& script);
VSTATION_API void clearStreamScripts();
// ==== end long connections ====================================================

}  // namespace vstation

#endif  // VSTATION_CONTROL_H
