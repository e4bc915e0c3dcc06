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
//
// A few operations fail without a code; their comments say so.
//
// Thread safety: an object is used by one thread at a time. The one
// exception is stopSearchCaptureData, which may be called from another
// thread (or from inside the search callback) while the callback form of
// searchCaptureData runs. Separate objects are independent.
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

// Callback of the record-by-record search: one JSON document per call, on
// the SDK's thread. Its result is ignored. CEnrollmentStation::
// readSearchDocument reads a document into the list form's record.
typedef int (*SearchCallback)(std::string document, void* userData);

// What one document of the record-by-record search says.
enum class SearchDocumentStatus {
    More,       // "MORE": a record, and more follow
    Last,       // "OK": a record, the last one
    NoMatch,    // "NO MATCH": the store holds nothing to find; the search ends
    Failed,     // the station reported failure ("NET_SDK_CALLBACK_STATUS_FAILED")
    Unreadable  // not JSON, not a search document, or "MORE"/"OK" without a record
};

class ENROLLMENTSTATION_API CEnrollmentStation {
public:
    // Makes no device call.
    CEnrollmentStation();
    // Does not log out: call uninitEnrollmentStation first.
    ~CEnrollmentStation();

    CEnrollmentStation(const CEnrollmentStation&) = delete;
    CEnrollmentStation& operator=(const CEnrollmentStation&) = delete;

    // Session. initEnrollmentStation fails without a code when a field is
    // empty; a port text that is not a number throws std::invalid_argument,
    // one out of int range std::out_of_range.
    bool initEnrollmentStation(const LoginParam& param, long& userId);
    bool uninitEnrollmentStation();
    bool isInit();
    bool setIsInit(bool flag, long userId);
    void setSDKLogPath(const std::string& path);

    // Capabilities and RF card settings.
    bool getDevCability(CaptureAbility& ability);
    bool getRFCardCacheCap(RFCardCap& cap);
    bool setRFCardParam(RFCardParam& param);
    bool getRFCardParam(RFCardParam& param);

    // Cards and identity cards.
    bool captureCardInfo(std::string& cardNo);
    bool setCaptureCardRule(CaptureRuleInfo& rule);
    bool captureIDCardInfo(IdentityInfomation& info);

    // Biometrics. Both block until the station reports.
    bool captureFingerInfo(FingerPrintInfomation& info);
    bool captureFaceInfo(FaceInformation& info);

    // Offline store. The list form appends to `results` and returns true when
    // at least one record arrived. The callback form returns when the search
    // has ended; stopSearchCaptureData ends it early.
    bool searchCaptureData(std::vector<SearchCaptureInfomation>& results);
    bool searchCaptureData(SearchCallback callback, void* userData);
    void stopSearchCaptureData(const bool& stop);
    // Reads one document of the callback form. For More and Last, `record`
    // becomes exactly the element the list form would have appended for it;
    // for the other statuses it is left untouched. Pure: no device call, no
    // last error, safe on any thread (the callback's included).
    static SearchDocumentStatus readSearchDocument(const std::string& document,
                                                   SearchCaptureInfomation& record);
    bool setOfflineCaptureRule(offLineRuleInfomation& rule);
    bool getUploadFailedDetails(UploadFailedDetailsInfomation& details);
    bool clearEnrollmentStationData();

    // Face parameters and language (1 or 2).
    bool setFaceParam(FaceParam& param);
    bool getFaceParam(FaceParam& param);
    bool getDeviceLanguageType(int& languageType);

    // File transfer; both block until the transfer ends. Before login they
    // fail without a code.
    bool uploadFile(const std::string& localPath);
    bool downloadFile(const std::string& localPath);

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
