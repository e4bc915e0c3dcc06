// CEnrollmentOperator: the session and the operations behind CEnrollmentStation.
//
// Thread safety: none of its own for the session and the operations. One
// thread at a time drives it; beside it may run stopSearchCaptureData (it
// reads m_searchProc and sets the process's atomic stop flag),
// cancelCurrentOperation, setStreamTimeout and setProgressCallback (all
// thread-safe).
//
// Each family of operations lives in its own source file; this header is the
// one place that lists them.
#ifndef ENROLLMENTSTATION_ENROLLMENTOPERATOR_H
#define ENROLLMENTSTATION_ENROLLMENTOPERATOR_H

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"
#include "ProgressHook.h"
#include "RunningOperations.h"

namespace protocol {
class CaptureRule;
class IdentityInfo;
class FingerPrintData;
class FaceData;
class SearchCaptureData;
class RuleInfo;
class UploadFailedDetails;
class BatchReturnData;
}  // namespace protocol

namespace EnrollmentStation {

class CSearchProc;
class CFileUtil;
struct TransferState;

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

    // Ways out of a wait (StreamJobs.cpp).
    bool cancelCurrentOperation() { return m_running.cancel(); }
    void setStreamTimeout(int milliseconds) { m_nStreamTimeoutMs = milliseconds > 0 ? milliseconds : 0; }
    // The progress callback, and what an operation starting now takes of it
    // (ProgressHook.cpp).
    void setProgressCallback(ProgressCallback callback, void* user);
    ProgressTarget progressTarget() const;
    // Runs a long-connection job on a worker task as a cancellable operation
    // of this object. False with (69, 8207) when cancelled, (69, 8208) when
    // the station fell silent past the stream time-out, (69, 8203) when no
    // worker could run it.
    bool runStreamJob(const std::shared_ptr<CSearchProc>& process);

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
    bool logOut();
    bool runTransfer(CFileUtil& transfer, bool (CFileUtil::*start)(TransferState&));

    bool m_bInit = false;
    long m_lUserID = -1;
    std::string m_strSDKLogPath;
    CaptureAbility m_captureAbility;
    RFCardCap m_rfCardCap;
    std::shared_ptr<CSearchProc> m_searchProc;
    uint32_t m_languageType = 0;
    // Not a session field: the status document of the latest refusal.
    std::optional<StationStatus> m_lastRefusal;
    // Not session fields: what runs now, and the stream time-out.
    CRunningOperations m_running;
    std::atomic<int> m_nStreamTimeoutMs{0};
    // Not a session field: where progress reports go.
    mutable std::mutex m_progressMutex;
    ProgressTarget m_progressTarget;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_ENROLLMENTOPERATOR_H
