// CEnrollmentOperator: the session and the operations behind CEnrollmentStation.
//
// Thread safety: none of its own. One thread at a time drives it; only
// stopSearchCaptureData may run beside a callback-form search (it reads
// m_searchProc and sets the process's atomic stop flag).
//
// Each family of operations lives in its own source file; this header is the
// one place that lists them.
#ifndef ENROLLMENTSTATION_ENROLLMENTOPERATOR_H
#define ENROLLMENTSTATION_ENROLLMENTOPERATOR_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"

namespace protocol {
class CaptureRule;
class IdentityInfo;
class FingerPrintData;
class FaceData;
class SearchCaptureData;
class RuleInfo;
class UploadFailedDetails;
}  // namespace protocol

namespace EnrollmentStation {

class CSearchProc;

class CEnrollmentOperator {
public:
    CEnrollmentOperator();
    ~CEnrollmentOperator();
    CEnrollmentOperator(const CEnrollmentOperator&) = delete;
    CEnrollmentOperator& operator=(const CEnrollmentOperator&) = delete;

    // Session (EnrollmentOperator.cpp).
    bool initEnrollmentStation(const LoginParam& param, long& userId);
    bool unInitEnrollmentStation();
    bool setIsInit(bool flag, long userId);
    void unInitMembers();
    bool isInit() const { return m_bInit; }
    void setSDKLogPath(const std::string& path) { m_strSDKLogPath = path; }

    // Capabilities (CapabilityOperations.cpp).
    bool getDevAbility(CaptureAbility& ability);

    // RF card, card capture, identity card (CardOperations.cpp, IdentityOperations.cpp).
    bool getRFCardCacheCap(RFCardCap& cap);
    bool setRFCardParam(RFCardParam& param);
    bool getRFCardParam(RFCardParam& param);
    bool captureCardInfo(std::string& cardNo);
    bool setCaptureCardRule(protocol::CaptureRule& rule);
    bool captureIDCardInfo(protocol::IdentityInfo& info);

    // Long-connection jobs (CollectOperations.cpp, SearchOperations.cpp).
    bool captureFingerInfo(protocol::FingerPrintData& data);
    bool captureFaceInfo(protocol::FaceData& data);
    bool searchCaptureData(std::vector<protocol::SearchCaptureData>& records);
    bool searchCaptureData(SearchCallback callback, void* userData);
    void stopSearchCaptureData(const bool& stop);

    // Offline store (OfflineStoreOperations.cpp).
    bool setOfflineCaptureRule(protocol::RuleInfo& info);
    bool getUploadFailedDetails(protocol::UploadFailedDetails& details);
    bool clearEnrollmentStationData();

    // Face parameters (FaceParamOperations.cpp) and files (FileOperations.cpp).
    bool setFaceParam(FaceParam& param);
    bool getFaceParam(FaceParam& param);
    bool getDeviceLanguageType(int& languageType) const;
    bool uploadFile(const std::string& localPath);
    bool downloadFile(const std::string& localPath);

    // One configuration request of this session; a refusal's status document
    // is kept for getLastStationStatus (EnrollmentOperator.cpp).
    bool configRequest(const char* requestLine, const std::string& body, std::string& reply);
    const std::optional<StationStatus>& lastRefusal() const { return m_lastRefusal; }

private:
    bool m_bInit = false;
    long m_lUserID = -1;
    std::string m_strSDKLogPath;
    CaptureAbility m_captureAbility;
    RFCardCap m_rfCardCap;
    std::shared_ptr<CSearchProc> m_searchProc;
    uint32_t m_languageType = 0;
    // Not a session field: the status document of the latest refusal.
    std::optional<StationStatus> m_lastRefusal;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_ENROLLMENTOPERATOR_H
