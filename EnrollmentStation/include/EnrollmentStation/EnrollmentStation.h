// EnrollmentStation: client library of one enrollment station.
//
// Create one CEnrollmentStation per station, log in with
// initEnrollmentStation, run operations, log out with uninitEnrollmentStation,
// destroy the object. Every operation returns false on failure and records a
// (main, sub) code that Kestro::Base::Error::GetLastError() reads back:
//
//   (50, n)     the device network SDK failed with error number n
//   (68, n)     the station refused a request with its error code n
//   (69, 8200)  not logged in
//   (69, 8201)  a working buffer could not be allocated
//   (69, 8203)  a collection or search failed or delivered no usable result
//   (69, 8205)  a file transfer failed
//   (69, 8206)  a file transfer was aborted by the station
//   (69, 8207)  the operation was cancelled (cancelCurrentOperation, logout)
//   (69, 8208)  the station stopped answering (setStreamTimeout)
//
// A few operations fail without a code; their comments say so.
//
// Thread safety: an object is used by one thread at a time. The exceptions
// are stopSearchCaptureData, which may be called from another thread (or
// from inside the search callback) while the callback form of
// searchCaptureData runs, and cancelCurrentOperation, setStreamTimeout and
// setProgressCallback, which may be called from any thread at any time. Separate objects are
// independent.
//
// Ownership: records are passed by reference and filled or read in place;
// the library keeps no reference to them after a call returns.
#ifndef ENROLLMENTSTATION_ENROLLMENTSTATION_H
#define ENROLLMENTSTATION_ENROLLMENTSTATION_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EnrollmentStation/Export.h"

namespace EnrollmentStation {

class CEnrollmentOperator;

// Where and as whom to log in. All four must be non-empty; port is decimal text.
struct LoginParam {
    std::string deviceAddress;
    std::string port;
    std::string userName;
    std::string password;
};

// Which kinds of capture the station supports.
struct CaptureAbility {
    bool isSupportCaptureCardInfo = false;
    bool isSupportCaptureIDInfo = false;
    bool isSupportCaptureCardRule = false;
    bool isSupportCapturePresetParam = false;
    bool isSupportCaptureFingerPrint = false;
    bool isSupportCaptureFace = false;
};

// Which RF card types the reader offers.
struct RFCardCap {
    bool isSupportEMCard = false;
    bool isSupportM1Card = false;
    bool isSupportCPUCard = false;
    bool isSupportIDCard = false;
};

// Which RF card types the reader reads.
struct RFCardParam {
    bool enableM1Card = false;
    bool enableCPUCard = false;
    bool enableIDCard = false;
    bool enableEMCard = false;
};

// How the station reads card numbers.
struct CaptureRuleInfo {
    bool enableCardNoLenAuto = false;
    int32_t cardNoLen = 0;
    int32_t cardTimeout = 0;
};

// An identity card as the station read it; texts exactly as the station sent them.
struct IdentityInfomation {
    std::string chnName;
    std::string enName;
    std::string sex;
    std::string birth;
    std::string addr;
    std::string IDCardNo;
    std::string issuingAuthority;
    std::string startDate;
    std::string endDate;
    int32_t nation = 0;
    std::string passNo;
    std::string issueNumber;
    std::string certificateType;
    std::string permanentResidenceCardNo;
    std::string nationalityOrAreaCode;
    std::string version;
    std::string receivingAuthorityCode;
    std::vector<std::string> fingerprintList;  // appended to, never emptied
    std::string pic;
};

// One collected fingerprint.
struct FingerPrintInfomation {
    std::string fingerPrintData;  // template, uppercase hex text
    std::string fingerPrintPic;   // picture bytes up to the first zero byte
    int32_t fingerPrintQuality = 0;
};

struct RegionInfo {
    double height = 0;
    double width = 0;
    double x = 0;
    double y = 0;
};

struct PointInfo {
    double x = 0;
    double y = 0;
};

// Face geometry, in the station's units.
struct FaceFeatureInfo {
    RegionInfo region;
    PointInfo leftEyePoint;
    PointInfo rightEyePoint;
    PointInfo leftMouthPoint;
    PointInfo rightMouthPoint;
    PointInfo noseTipPoint;
};

// One collected face; templates and pictures as Base64 text.
struct FaceInformation {
    std::string faceTemplate1;
    int32_t faceTemplate1Quality = 0;
    std::string faceTemplate2;
    int32_t faceTemplate2Quality = 0;
    std::string faceData;
    int32_t faceDataQuality = 0;
    std::string infraredFaceData;
    int32_t infraredFaceDataQuality = 0;
    FaceFeatureInfo faceFeature;
};

struct FingerprintInfo {
    int32_t fingerprintID = 0;
    std::string fingerprint;  // uppercase hex text
};

// One captured person record of the offline store.
struct DataCollectInfomation {
    int32_t lastCaptureNo = 0;
    int32_t captureNo = 0;
    std::string name;
    std::string employeeNo;
    std::string IDCardNo;
    std::vector<std::string> cardNoList;
    std::vector<FingerprintInfo> fingerprintList;
    FaceFeatureInfo faceFeature;
    bool riskDataMark = false;
};

// One record of an offline store search with the status of its page.
struct SearchCaptureInfomation {
    std::string faceData;          // Base64; empty when none or 204800 bytes or more
    std::string infraredFaceData;  // likewise
    std::string searchID;
    std::string responseStatusStrg;  // "MORE", or "OK" for the last record
    int32_t numOfMatches = 0;
    int32_t totalMatches = 0;
    std::vector<DataCollectInfomation> dataCollectList;  // exactly one record
};

struct offLineRuleItem {
    std::string dataType;
    bool enable = false;
    bool uniqueCheck = false;
    int32_t len = 0;
    int32_t num = 0;
    std::vector<int32_t> fingerprintIDs;
};

// What the station captures into its offline store.
struct offLineRuleInfomation {
    bool reqAdminRights = false;
    bool enableCardNoLenAuto = false;
    std::vector<offLineRuleItem> ruleList;
};

struct UploadFailedDetailsInfomation {
    std::string description;
};

struct FaceParam {
    bool enable = false;
    int32_t value = 0;  // the station keeps the low 8 bits
};

// The status document a station sends in place of a reply when it refuses a
// request; texts exactly as the station sent them.
struct StationStatus {
    std::string requestURL;
    int32_t statusCode = 0;
    std::string statusString;
    std::string subStatusCode;  // the refusal's name, such as "noCardPresented"
    uint32_t errorCode = 0;     // the sub code of the (68, n) last error, as 32 bits
    std::string errorMsg;       // the station's words for it
    int32_t tryTimes = 0;
};

// Callback of the record-by-record search, called on the SDK's report thread,
// one call at a time, in page order; its result is ignored. `document` is one
// JSON text:
//
//   {"SearchCaptureData": {
//      "faceData": Base64, "infraredFaceData": Base64,   (empty when none or
//                                                         204800 bytes or more)
//      "SearchTaskCond": {
//        "searchID": text, "responseStatusStrg": status,
//        "numOfMatches": n, "totalMatches": n,
//        "DataCollections": [{
//          "lastCaptureNo": n, "captureNo": n, "name": text, "employeeNo": text,
//          "IDCardNo": text, "CardNoList": [text],
//          "FingerprintList": [{"fingerprintID": n, "fingerprint": hex}],
//          "FaceFeature": {"Region": {"height", "width", "x", "y"},
//                          "LeftEyePoint", "RightEyePoint", "LeftMouthPoint",
//                          "RightMouthPoint", "NoseTipPoint": {"x", "y"}},
//          "riskDataMark": bool}]}}}
//
// The status tells the documents apart:
//   "MORE"      one record; more follow
//   "OK"        the last record
//   "NO MATCH"  the store holds nothing; the only document
//   "NET_SDK_CALLBACK_STATUS_FAILED"
//               the station reported failure; every other member is empty or
//               0. It comes after the records delivered so far, and after the
//               search was told to end, so it may run while the search closes
//               its connection. searchCaptureData returns once the connection
//               is closed: with an SDK whose close waits for its report thread
//               (the virtual station's does), no call runs after that.
// CEnrollmentStation::readSearchDocument reads a document into the list
// form's record and tells these apart.
typedef int (*SearchCallback)(std::string document, void* userData);

// What one document of the record-by-record search says.
enum class SearchDocumentStatus {
    More,       // "MORE": a record, and more follow
    Last,       // "OK": a record, the last one
    NoMatch,    // "NO MATCH": the store holds nothing to find; the search ends
    Failed,     // the station reported failure ("NET_SDK_CALLBACK_STATUS_FAILED")
    Unreadable  // not JSON, not a search document, or "MORE"/"OK" without a record
};

// The operation a progress report is about.
enum class ProgressOperation : int32_t {
    FaceCapture = 1,  // captureFaceInfo: the station's capture progress
    Upload = 2,       // uploadFile: the progress word of the transfer state
    Download = 3      // downloadFile: likewise
};

// One progress report: which operation, and how far it got, 0 to 100 (a
// larger value from the station is reported as 100).
struct ProgressReport {
    ProgressOperation operation = ProgressOperation::FaceCapture;
    int32_t percent = 0;
};

// Callback of setProgressCallback; `user` is the pointer given with it.
typedef void (*ProgressCallback)(const ProgressReport& report, void* user);

// Unless a comment says otherwise, a method that returns false has set one of
// the codes above and left the caller's record untouched, and the one-shot
// requests wait for the station up to the SDK's receive time-out of 15 s.
// "No session" is (69, 8200); a failed one-shot request sets (50, n) when the
// SDK failed without a status document, (68, n) when the station refused with
// error code n > 1 (getLastStationStatus then holds its status document), and
// no code when the station's refusal carried code 0 or 1.
class ENROLLMENTSTATION_API CEnrollmentStation {
public:
    // Makes no device call.
    CEnrollmentStation();
    // Does not log out: call uninitEnrollmentStation first. An operation of
    // this object still running on another thread is cancelled and waited for.
    ~CEnrollmentStation();

    CEnrollmentStation(const CEnrollmentStation&) = delete;
    CEnrollmentStation& operator=(const CEnrollmentStation&) = delete;

    // ---- Session ----

    // Initialises the SDK, logs in and reads the capture capabilities and the
    // RF card capability (their failures do not fail the login). Fills
    // `userId` with the login handle, -1 on failure. Already logged in: true
    // and the same handle, no device call. Fails with no code when a field of
    // `param` is empty; (50, n) when the SDK does not initialise or the login
    // is refused. A port text that is not a number throws
    // std::invalid_argument, one out of int range std::out_of_range. Blocks for
    // the SDK's login and two one-shot requests.
    bool initEnrollmentStation(const LoginParam& param, long& userId);
    // Logs out and releases the SDK; true at once when not logged in. Fails
    // with (50, n) when the logout is refused; the session stays and the call
    // may be repeated. A failed SDK release is recorded as (50, n) although the
    // call returns true.
    // An operation of this object still running on another thread is
    // cancelled and waited for before the logout.
    bool uninitEnrollmentStation();
    // Whether the object is logged in (or marked so by setIsInit). No device call.
    bool isInit();
    // Sets the logged-in flag to `flag` and logs `userId` out; the stored
    // handle stays. False, with no code, when `userId` is -1; a refused logout
    // is recorded as (50, n) and the call still returns true.
    bool setIsInit(bool flag, long userId);
    // Keeps `path` for the SDK's log; nothing else reads it. Logout empties it.
    void setSDKLogPath(const std::string& path);

    // ---- Capabilities and RF card settings ----

    // Fills the four capture flags from the station's capability document,
    // then the fingerprint and face flags from the SDK's ability document.
    // Fails after the first four are written with (69, 8201) or (50, n) when
    // the ability document cannot be read.
    bool getDevCability(CaptureAbility& ability);
    // Fills which card types the reader offers; an unreadable answer offers
    // none and is no failure. Asks even without a session, so the SDK's own
    // refusal (50, n) is what a caller without a login sees.
    bool getRFCardCacheCap(RFCardCap& cap);
    // Sends the enabled flags of the card types the station offered at login.
    bool setRFCardParam(RFCardParam& param);
    // Fills the flags of the card types the station lists; the others keep
    // their values, as does everything on an unreadable answer (no failure).
    // Without a session the SDK's refusal (50, n).
    bool getRFCardParam(RFCardParam& param);

    // ---- Cards and identity cards ----

    // Fills the number of the card on the reader. An unreadable answer fails
    // with no code.
    bool captureCardInfo(std::string& cardNo);
    // Sends the card capture rule as given.
    bool setCaptureCardRule(CaptureRuleInfo& rule);
    // Fills the identity card on the reader; fingerprints are appended to
    // those `info` holds. An unreadable answer fails with no code.
    bool captureIDCardInfo(IdentityInfomation& info);

    // ---- Biometrics ----
    // Each waits (up to the stream time-out, if set; cancelCurrentOperation
    // ends it, with (69, 8207)) until the station reports the sample
    // or its failure; a station that cannot be reached is tried three more
    // times, 3 s apart. Fills the first sample the station reports. (69, 8203)
    // when the connection cannot be opened, the station reports failure, or
    // no usable sample arrived.

    bool captureFingerInfo(FingerPrintInfomation& info);
    bool captureFaceInfo(FaceInformation& info);

    // ---- Offline store ----

    // Appends one SearchCaptureInfomation per record found, in store order,
    // and returns true when at least one arrived. Waits (up to the stream time-out, if set),
    // for the whole search (an unreachable station is retried as the
    // collections do); stopSearchCaptureData does not reach it. False
    // with no code when nothing was found or the connection cannot be opened;
    // after a failure part-way the records so far are appended and true
    // returned, with (50, n) when a page could not be sent or (69, 8203) when
    // the station reported failure.
    bool searchCaptureData(std::vector<SearchCaptureInfomation>& results);
    // Calls `callback` once per document (see SearchCallback) while the search
    // runs and returns when it has ended, true even when the station failed
    // or the connection could not be opened (no call then). With a null
    // callback or userData the records are kept inside instead of delivered.
    // Waits (up to the stream time-out, if set), for the station's reports;
    // stopSearchCaptureData ends the wait at once.
    bool searchCaptureData(SearchCallback callback, void* userData);
    // Ends the running or latest callback-form search of this object; may be
    // called from any thread or from inside the callback. Without a session
    // it sets (69, 8200) and does nothing. Returns at once.
    void stopSearchCaptureData(const bool& stop);
    // Reads one document of the callback form. For More and Last, `record`
    // becomes exactly the element the list form would have appended for it;
    // for the other statuses it is left untouched. Pure: no device call, no
    // last error, safe on any thread (the callback's included).
    static SearchDocumentStatus readSearchDocument(const std::string& document,
                                                   SearchCaptureInfomation& record);
    // Sends the offline capture rule as given; the station judges the values.
    bool setOfflineCaptureRule(offLineRuleInfomation& rule);
    // Fills the description of the records that failed to upload. Fails with
    // no code, sending nothing, when the object is marked not logged in
    // (setIsInit), and with no code on an unreadable answer.
    bool getUploadFailedDetails(UploadFailedDetailsInfomation& details);
    // Deletes every record of the station's offline store.
    bool clearEnrollmentStationData();

    // ---- Face parameters and language ----

    // Writes the whole face parameter record (enable, low 8 bits of value).
    // SDK refusal: (50, n). Blocks for one SDK call.
    bool setFaceParam(FaceParam& param);
    // Fills enable and value. SDK refusal: (50, n). Blocks for one SDK call.
    bool getFaceParam(FaceParam& param);
    // Fills 1 or 2 from the language mask read at login; no device call. Fails
    // with no code, leaving `languageType`, when the mask names neither.
    bool getDeviceLanguageType(int& languageType);

    // ---- File transfer ----
    // Each blocks until the transfer ends or is cancelled, polling the
    // station's transfer state. Not logged in: false with no code. (50, n)
    // when the transfer cannot start, (69, 8206) when the station aborts it,
    // (69, 8205) for any other failed state.

    // Sends the local file to the station.
    bool uploadFile(const std::string& localPath);
    // Writes the station's file to `localPath`.
    bool downloadFile(const std::string& localPath);

    // Ends the streaming operation (either search form, fingerprint, face)
    // or file transfer running on this object within 100 ms, even when the
    // station is silent: within that time the ended call hands the SDK its
    // connection's close, and returns once the SDK's close has (a download's
    // close removes the partial file). It returns false with (69, 8207);
    // the caller's records stay as they were (what a callback already
    // received stays received). True when an operation was running; false,
    // with no code set and no effect on the next operation, when none was.
    // Any thread.
    bool cancelCurrentOperation();
    // The longest wait, in milliseconds, for the station's next report in a
    // streaming operation; past it the operation ends as if cancelled, with
    // (69, 8208). Each wait is limited, not the whole operation. 0 (the
    // default, and any negative value) waits as long as the station takes.
    // Applies to operations started afterwards.
    void setStreamTimeout(int milliseconds);

    // Reports the progress of later face captures and file transfers to
    // `callback` with `user`: a face capture once per data report of the
    // station, in order, with its capture progress (the final 100
    // included), on the SDK's report thread; a transfer once when its state
    // is first read and again whenever the progress word changes, while the
    // transfer runs and when it is done (100 on the virtual station), on
    // the calling thread. No report comes after the operation has returned.
    // The callback must return soon and must not call this object. A null
    // callback turns the reports off. Reporting changes nothing else an
    // operation does, returns or logs. Applies to operations started
    // afterwards; any thread.
    void setProgressCallback(ProgressCallback callback, void* user);

    // The status document of this object's latest refused request, the one
    // that set the last error (68, errorCode). False, with `status`
    // untouched, when no request of this object has been refused. Kept until
    // the next refusal, so compare its errorCode with the last error before
    // showing it. Makes no device call.
    bool getLastStationStatus(StationStatus& status) const;

private:
    std::unique_ptr<CEnrollmentOperator> m_pOperator;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_ENROLLMENTSTATION_H
