#include "BaseSDK/SearchProc.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <future>
#include <unordered_map>
#include <utility>

#include "BaseSDK/TextEncoding.h"
#include "Common/Protocol/JSONStruct/Messages.h"
#include "KestroBase.h"
#include "LogSource.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kConvertMethod = "EnrollmentStation::CSearchProc::convertSendInBuffer";
constexpr const char* kSendMethod = "EnrollmentStation::CSearchProc::sendRemoteConfig";
constexpr const char* kFingerMethod = "EnrollmentStation::CSearchProc::processFingerCollect";
constexpr const char* kFaceMethod = "EnrollmentStation::CSearchProc::processFaceCollect";
constexpr const char* kSearchMethod = "EnrollmentStation::CSearchProc::processSearchCaptureData";

constexpr size_t kSendBufferSize = 10240;
constexpr int kStopAttempts = 3;
constexpr uint8_t kFaceComplete = 100;
constexpr const char* kSearchFailedStatus = "NET_SDK_CALLBACK_STATUS_FAILED";

using FingerRecord = NET_DVR_CAPTURE_FINGERPRINT_CFG;
using FaceRecord = NET_DVR_CAPTURE_FACE_CFG;
using SearchRecord = NET_DVR_SEARCH_CAPTURE_DATA_RESULT;

// A data report must reach the last field the handler reads; a shorter one
// cannot be a record of its kind.
constexpr uint32_t kFingerRecordMin = offsetof(FingerRecord, byFingerPrintQuality) + 1;
constexpr uint32_t kFaceRecordMin = offsetof(FaceRecord, struFeature) + sizeof(NET_DVR_FACE_FEATURE);
constexpr uint32_t kSearchRecordMin = offsetof(SearchRecord, pInfraredFacePicBuffer) + sizeof(char*);

// Fields are copied out rather than read through a cast: the SDK promises
// the layout, not the alignment of its buffer.
template <typename T>
T fieldAt(const void* record, size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const char*>(record) + offset, sizeof(T));
    return value;
}

// A status report: its first word, and the error word where the station puts
// one. Failed carries it as the second word of an 8-byte report; an
// exception at byte 16, when the report is long enough to hold it.
struct StatusReport {
    bool valid = false;
    uint32_t status = 0;
    int32_t failureError = 0;
    int32_t exceptionError = 0;
};

StatusReport readStatus(uint32_t type, const void* buffer, uint32_t length) {
    StatusReport report;
    if (type != NET_SDK_CALLBACK_TYPE_STATUS || buffer == nullptr || length < 4) return report;
    report.valid = true;
    report.status = fieldAt<uint32_t>(buffer, 0);
    if (length == 8) report.failureError = fieldAt<int32_t>(buffer, 4);
    if (length >= 20) report.exceptionError = fieldAt<int32_t>(buffer, 16);
    return report;
}

// A length and an address, as the records carry their variable parts.
struct Bytes {
    const char* data = nullptr;
    uint32_t length = 0;
    bool present() const { return data != nullptr && length != 0; }
};

Bytes bytesAt(const void* record, size_t lengthOffset, size_t addressOffset) {
    return Bytes{fieldAt<const char*>(record, addressOffset), fieldAt<uint32_t>(record, lengthOffset)};
}

void setStreamFailed() {
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(69, kErrStreamFailed));
}

// The processes whose connections may still report, by the address they gave
// the SDK as user data.
class LiveProcesses {
public:
    void add(const void* key, std::weak_ptr<CSearchProc> process) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_processes[key] = std::move(process);
    }
    void remove(const void* key) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_processes.erase(key);
    }
    std::shared_ptr<CSearchProc> find(const void* key) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_processes.find(key);
        return it == m_processes.end() ? nullptr : it->second.lock();
    }

private:
    std::mutex m_mutex;
    std::unordered_map<const void*, std::weak_ptr<CSearchProc>> m_processes;
};

LiveProcesses& liveProcesses() {
    static LiveProcesses registry;
    return registry;
}

const void* reportKey(const CBatchNet* step) { return static_cast<const void*>(step); }

// Runs a handler for the process behind `user`, if it still lives. Nothing
// may unwind into the SDK's thread: a handler that throws ends the job.
template <typename Handler>
void dispatch(void* user, Handler handler) {
    if (user == nullptr) return;
    std::shared_ptr<CSearchProc> process = liveProcesses().find(user);
    if (!process) return;
    try {
        handler(*process);
    } catch (...) {
        setStreamFailed();
        process->requestStop();
    }
}

}  // namespace

std::shared_ptr<CSearchProc> CSearchProc::create(int32_t userId,
                                                 const protocol::BatchPassThroughReq& request) {
    auto process = std::make_shared<CSearchProc>(CreateKey{}, userId, request);
    liveProcesses().add(reportKey(process.get()), process);
    return process;
}

CSearchProc::CSearchProc(CreateKey, int32_t userId, const protocol::BatchPassThroughReq& request)
    : CBatchNet(userId, request) {}

CSearchProc::~CSearchProc() { liveProcesses().remove(reportKey(this)); }

void ZORN_CALL CSearchProc::fingerCollectEntry(uint32_t type, void* buffer, uint32_t length,
                                               void* user) {
    dispatch(user, [&](CSearchProc& p) { p.processFingerCollect(type, buffer, length); });
}

void ZORN_CALL CSearchProc::faceCollectEntry(uint32_t type, void* buffer, uint32_t length, void* user) {
    dispatch(user, [&](CSearchProc& p) { p.processFaceCollect(type, buffer, length); });
}

void ZORN_CALL CSearchProc::searchEntry(uint32_t type, void* buffer, uint32_t length, void* user) {
    dispatch(user, [&](CSearchProc& p) { p.processSearchCaptureData(type, buffer, length); });
}

// ---- the job -----------------------------------------------------------------

bool CSearchProc::run() {
    try {
        if (m_lHandle != -1) closeConnection();
        initRemoteParam();
        if (m_bIsSearch) {
            runSearch();
        } else {
            runCollect();
        }
    } catch (...) {
        if (m_lHandle != -1) closeConnection();
        m_bFinished = true;
        throw;
    }
    m_bFinished = true;
    return true;
}

void CSearchProc::runCollect() {
    if (!startRemoteConfig()) return;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cond.wait(lock, [this] { return m_bStop || m_bDone; });
    }
    closeConnection();
}

void CSearchProc::runSearch() {
    m_strSearchID = Kestro::Base::GuidUtil::CreateGuid();
    if (!startRemoteConfig()) return;
    if (m_bStop) {
        closeConnection();
        return;
    }
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bDataArrived = false;
        }
        convertSendInBuffer();
        if (!sendRemoteConfig()) break;
        bool ended = false;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_cond.wait(lock, [this] { return m_bStop || m_bDone || m_bDataArrived; });
            ended = m_bDone || m_bStop;
        }
        if (ended) break;
    }
    closeConnection();
}

void CSearchProc::closeConnection() {
    for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
        if (stopRemoteConfig()) return;
    }
}

void CSearchProc::initRemoteParam() {
    switch (m_request.m_nCommand) {
    case NET_DVR_CAPTURE_FINGERPRINT_INFO: {
        NET_DVR_CAPTURE_FINGERPRINT_COND cond{};
        cond.dwSize = sizeof(cond);
        const long finger = std::strtol(m_request.m_strCondBuffer.c_str(), nullptr, 10);
        cond.byFingerPrintID = static_cast<uint8_t>(static_cast<unsigned long>(finger) & 0xFFu);
        m_dwCommand = NET_DVR_CAPTURE_FINGERPRINT_INFO;
        m_dwInBufferLen = sizeof(cond);
        m_fnCallback = &CSearchProc::fingerCollectEntry;
        if (!m_inBuffer) m_inBuffer.reset(new uint8_t[sizeof(cond)]());
        std::memcpy(m_inBuffer.get(), &cond, sizeof(cond));
        break;
    }
    case NET_DVR_CAPTURE_FACE_INFO: {
        NET_DVR_CAPTURE_FACE_COND cond{};
        cond.dwSize = sizeof(cond);
        m_dwCommand = NET_DVR_CAPTURE_FACE_INFO;
        m_dwInBufferLen = sizeof(cond);
        m_fnCallback = &CSearchProc::faceCollectEntry;
        if (!m_inBuffer) m_inBuffer.reset(new uint8_t[sizeof(cond)]());
        std::memcpy(m_inBuffer.get(), &cond, sizeof(cond));
        break;
    }
    case NET_DVR_SEARCH_CAPTURE_DATA: {
        const std::string& requestLine = m_request.m_strCondBuffer;
        m_bIsSearch = true;
        m_dwCommand = NET_DVR_SEARCH_CAPTURE_DATA;
        m_dwInBufferLen = static_cast<uint32_t>(requestLine.size() + 1);
        m_fnCallback = &CSearchProc::searchEntry;
        if (!m_inBuffer) m_inBuffer.reset(new uint8_t[requestLine.size() + 1]());
        std::memcpy(m_inBuffer.get(), requestLine.data(), requestLine.size());
        break;
    }
    default:
        break;
    }
}

void CSearchProc::convertSendInBuffer() {
    std::string page;
    if (m_request.m_nCommand == static_cast<int32_t>(NET_DVR_SEARCH_CAPTURE_DATA)) {
        m_bIsSearch = true;
        protocol::SearchTaskCond cond;
        cond.m_strSearchID = m_strSearchID;
        cond.m_nSearchResultPosition = static_cast<int32_t>(m_nSearchPosition.load());
        cond.m_nMaxResults = 1;
        page = protocol::TToJSONStr(cond);
        m_dwSendDataType = NET_DVR_SEND_JSON_DATA;
    }
    if (!m_sendBuffer) m_sendBuffer.reset(new char[kSendBufferSize]);
    std::memset(m_sendBuffer.get(), 0, kSendBufferSize);
    // A page holds three short members, far below the buffer; the cut only
    // keeps the terminator if that ever changed.
    const size_t length = std::min(page.size(), kSendBufferSize - 1);
    std::memcpy(m_sendBuffer.get(), page.data(), length);
    m_dwSendLen = static_cast<uint32_t>(length);
    Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule, "[%s]search opral cond [%s][%s(%d)]",
                                         kConvertMethod, page.c_str(), kSrcBaseSDK, 621);
}

bool CSearchProc::sendRemoteConfig() {
    const char* text = m_sendBuffer ? m_sendBuffer.get() : "";
    Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule,
                                         "[%s]NET_DVR_SendRemoteConfig![%s][%s(%d)]", kSendMethod,
                                         text, kSrcBaseSDK, 626);
    if (NET_DVR_SendRemoteConfig(m_lHandle, m_dwSendDataType, m_sendBuffer.get(), m_dwSendLen) != 0) {
        return true;
    }
    Kestro::Base::details::VexaFormatLog(kLogFailure, "NET_DVR_SendRemoteConfig failed!",
                                         "[%s][%s(%d)]", kSendMethod, kSrcBaseSDK, 631);
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(50, NET_DVR_GetLastError()));
    return false;
}

// ---- hand-over between the report thread and the worker ------------------

void CSearchProc::signalProcess() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cond.notify_one();
}

void CSearchProc::requestStop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStop = true;
    m_cond.notify_one();
}

void CSearchProc::finishJob(bool dataArrived) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDone = true;
    if (dataArrived) m_bDataArrived = true;
    m_cond.notify_one();
}

// ---- report handlers (SDK thread) -----------------------------------------

namespace {

void pushResult(CAbstractStepStrategy& step, std::string id, std::string document) {
    protocol::BatchReturnData result;
    result.m_strId = std::move(id);
    result.m_strOutBuffer = std::move(document);
    step.pushReturnData(std::move(result));
}

}  // namespace

void CSearchProc::processFingerCollect(uint32_t type, const void* buffer, uint32_t length) {
    if (type == NET_SDK_CALLBACK_TYPE_DATA && buffer != nullptr) {
        if (length < kFingerRecordMin) return;
        const uint32_t templateLength = std::min<uint32_t>(
            fieldAt<uint32_t>(buffer, offsetof(FingerRecord, dwFingerPrintDataSize)),
            NET_DVR_MAX_FINGER_PRINT_LEN);
        const uint8_t quality = fieldAt<uint8_t>(buffer, offsetof(FingerRecord, byFingerPrintQuality));
        const Bytes picture = bytesAt(buffer, offsetof(FingerRecord, dwFingerPrintPicSize),
                                      offsetof(FingerRecord, pFingerPrintPicBuffer));

        protocol::FingerPrintData finger;
        if (templateLength != 0) {
            finger.m_strFingerPrintData =
                hexText(static_cast<const char*>(buffer) + offsetof(FingerRecord, byFingerData),
                        templateLength);
            finger.m_nFingerPrintQuality = quality;
        }
        // Raw bytes: the document's text ends at the first zero byte, and
        // so does the picture the caller receives.
        if (picture.present()) finger.m_strFingerPrintPic.assign(picture.data, picture.length);
        Kestro::Base::details::VexaFormatLog(
            kLogTrace, kLogModule,
            "[%s]Caputre finger callback. Finger Length:[%d], Finger Quality:[%d].[%s(%d)]",
            kFingerMethod, static_cast<int>(templateLength), quality, kSrcBaseSDK, 213);
        const uint32_t count = ++m_nResultCount;
        pushResult(*this, std::to_string(count), protocol::TToJSONStr(finger));
        return;
    }
    const StatusReport report = readStatus(type, buffer, length);
    if (!report.valid) return;
    if (report.status == NET_SDK_CALLBACK_STATUS_SUCCESS) {
        Kestro::Base::details::VexaFormatLog(kLogTrace, "Finger collect callback. Finished.",
                                             "[%s][%s(%d)]", kFingerMethod, kSrcBaseSDK, 227);
        finishJob(false);
    } else if (report.status == NET_SDK_CALLBACK_STATUS_FAILED) {
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]Finger collect. Process failed. ErrorCode [%d].[%s(%d)]",
            kFingerMethod, report.failureError, kSrcBaseSDK, 234);
        setStreamFailed();
        finishJob(false);
    }
}

void CSearchProc::processFaceCollect(uint32_t type, const void* buffer, uint32_t length) {
    if (type == NET_SDK_CALLBACK_TYPE_DATA && buffer != nullptr) {
        if (length < kFaceRecordMin) return;
        if (fieldAt<uint8_t>(buffer, offsetof(FaceRecord, byCaptureProgress)) != kFaceComplete) return;

        protocol::FaceData face;
        const auto take = [buffer](size_t lengthOffset, size_t addressOffset, size_t qualityOffset,
                                   std::string& text, int32_t& quality) {
            const Bytes item = bytesAt(buffer, lengthOffset, addressOffset);
            if (!item.present()) return;
            text = base64Text(item.data, item.length);
            quality = fieldAt<uint8_t>(buffer, qualityOffset);
        };
        take(offsetof(FaceRecord, dwFaceTemplate1Size), offsetof(FaceRecord, pFaceTemplate1Buffer),
             offsetof(FaceRecord, byFaceQuality1), face.m_strFaceTemplate1, face.m_nFaceTemplate1Quality);
        take(offsetof(FaceRecord, dwFaceTemplate2Size), offsetof(FaceRecord, pFaceTemplate2Buffer),
             offsetof(FaceRecord, byFaceQuality2), face.m_strFaceTemplate2, face.m_nFaceTemplate2Quality);
        take(offsetof(FaceRecord, dwFacePicSize), offsetof(FaceRecord, pFacePicBuffer),
             offsetof(FaceRecord, byFacePicQuality), face.m_strFaceData, face.m_nFaceDataQuality);
        take(offsetof(FaceRecord, dwInfraredFacePicSize), offsetof(FaceRecord, pInfraredFacePicBuffer),
             offsetof(FaceRecord, byInfraredFacePicQuality), face.m_strInfraredFaceData,
             face.m_nInfraredFaceDataQuality);

        const auto real = [buffer](size_t offset) {
            return static_cast<double>(fieldAt<float>(buffer, offset));
        };
        constexpr size_t g = offsetof(FaceRecord, struFeature);
        using Feature = NET_DVR_FACE_FEATURE;
        protocol::FaceFeatureData& feature = face.m_stFaceFeature;
        feature.m_stRegion.m_dX = real(g + offsetof(Feature, struRegion.fX));
        feature.m_stRegion.m_dY = real(g + offsetof(Feature, struRegion.fY));
        feature.m_stRegion.m_dWidth = real(g + offsetof(Feature, struRegion.fWidth));
        feature.m_stRegion.m_dHeight = real(g + offsetof(Feature, struRegion.fHeight));
        feature.m_stLeftEyePoint.m_dX = real(g + offsetof(Feature, struLeftEye.fX));
        feature.m_stLeftEyePoint.m_dY = real(g + offsetof(Feature, struLeftEye.fY));
        feature.m_stRightEyePoint.m_dX = real(g + offsetof(Feature, struRightEye.fX));
        feature.m_stRightEyePoint.m_dY = real(g + offsetof(Feature, struRightEye.fY));
        feature.m_stLeftMouthPoint.m_dX = real(g + offsetof(Feature, struLeftMouth.fX));
        feature.m_stLeftMouthPoint.m_dY = real(g + offsetof(Feature, struLeftMouth.fY));
        feature.m_stRightMouthPoint.m_dX = real(g + offsetof(Feature, struRightMouth.fX));
        feature.m_stRightMouthPoint.m_dY = real(g + offsetof(Feature, struRightMouth.fY));
        feature.m_stNoseTipPoint.m_dX = real(g + offsetof(Feature, struNoseTip.fX));
        feature.m_stNoseTipPoint.m_dY = real(g + offsetof(Feature, struNoseTip.fY));

        const uint32_t count = ++m_nResultCount;
        pushResult(*this, std::to_string(count), protocol::TToJSONStr(face));
        return;
    }
    const StatusReport report = readStatus(type, buffer, length);
    if (!report.valid) return;
    if (report.status == NET_SDK_CALLBACK_STATUS_SUCCESS) {
        Kestro::Base::details::VexaFormatLog(kLogTrace, "Face collect callback. Finished.",
                                             "[%s][%s(%d)]", kFaceMethod, kSrcBaseSDK, 449);
        finishJob(false);
    } else if (report.status == NET_SDK_CALLBACK_STATUS_FAILED ||
               report.status == NET_SDK_CALLBACK_STATUS_EXCEPTION) {
        const bool failed = report.status == NET_SDK_CALLBACK_STATUS_FAILED;
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]Face collect. Process failed. ErrorCode [%d].[%s(%d)]",
            kFaceMethod, failed ? report.failureError : report.exceptionError, kSrcBaseSDK,
            failed ? 456 : 465);
        setStreamFailed();
        finishJob(false);
    }
}

void CSearchProc::processSearchCaptureData(uint32_t type, const void* buffer, uint32_t length) {
    if (type == NET_SDK_CALLBACK_TYPE_DATA && buffer != nullptr) {
        // Too short to be a reply: the station has lost the thread, as with
        // a reply that does not parse.
        if (length < kSearchRecordMin) {
            finishJob(true);
            return;
        }
        const char* json = fieldAt<const char*>(buffer, offsetof(SearchRecord, pJsonBuffer));
        const std::string reply = json != nullptr ? json : "";

        protocol::SearchCaptureData result;
        protocol::SearchTaskResponse& response = result.m_stSearchTaskCond;
        protocol::TParseJSONStr(response, reply);
        // Also the end of a reply that did not parse: its ID is empty.
        if (response.m_strSearchID != m_strSearchID) {
            finishJob(true);
            return;
        }
        const Bytes face = bytesAt(buffer, offsetof(SearchRecord, dwFacePicSize),
                                   offsetof(SearchRecord, pFacePicBuffer));
        const Bytes infrared = bytesAt(buffer, offsetof(SearchRecord, dwInfraredFacePicSize),
                                       offsetof(SearchRecord, pInfraredFacePicBuffer));
        Kestro::Base::details::VexaFormatLog(
            kLogTrace, kLogModule,
            "[%s]Caputre data callback. data info [%s], face size [%d], second face size [%d].[%s(%d)]",
            kSearchMethod, reply.c_str(), static_cast<int>(face.length),
            static_cast<int>(infrared.length), kSrcBaseSDK, 260);

        const bool toCaller = m_fnUserCallback != nullptr && m_pUserData != nullptr;
        if (!response.m_vecDataCollections.empty()) {
            if (face.present() && face.length < kSearchPictureLimit) {
                result.m_strFaceData = base64Text(face.data, face.length);
            }
            if (infrared.present() && infrared.length < kSearchPictureLimit) {
                result.m_strInfraredFaceData = base64Text(infrared.data, infrared.length);
            }
            for (protocol::FingerprintData& finger : response.m_vecDataCollections.front().m_vecFingerprintList) {
                std::string raw;
                Kestro::Base::Encrypt::Base64Decode(raw, finger.m_strFingerprint);
                finger.m_strFingerprint = hexText(raw.data(), raw.size());
            }
            if (toCaller) {
                m_fnUserCallback(protocol::TToJSONStr(result), m_pUserData);
            } else {
                pushResult(*this, std::to_string(m_nResultCount.load()), protocol::TToJSONStr(result));
            }
            ++m_nResultCount;
            ++m_nSearchPosition;
        }

        const std::string& status = response.m_strResponseStatusStrg;
        const bool noMatch = status == "NO MATCH";
        // The caller hears of an empty store before the worker is woken.
        if (noMatch && toCaller) m_fnUserCallback(protocol::TToJSONStr(result), m_pUserData);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (status == "OK" || noMatch) {
            m_bDone = true;
        } else if (status == "MORE") {
            m_bDone = false;
        }
        m_bDataArrived = true;
        m_cond.notify_one();
        return;
    }
    const StatusReport report = readStatus(type, buffer, length);
    if (!report.valid) return;
    if (report.status == NET_SDK_CALLBACK_STATUS_SUCCESS) {
        Kestro::Base::details::VexaFormatLog(kLogTrace, "search Capture Data callback.", "[%s][%s(%d)]",
                                             kSearchMethod, kSrcBaseSDK, 333);
        finishJob(false);
    } else if (report.status == NET_SDK_CALLBACK_STATUS_FAILED) {
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]Search capture data. Process failed. ErrorCode [%d].[%s(%d)]",
            kSearchMethod, report.failureError, kSrcBaseSDK, 340);
        setStreamFailed();
        finishJob(false);
        if (m_fnUserCallback != nullptr && m_pUserData != nullptr) {
            protocol::SearchCaptureData failure;
            failure.m_stSearchTaskCond.m_strResponseStatusStrg = kSearchFailedStatus;
            m_fnUserCallback(protocol::TToJSONStr(failure), m_pUserData);
        }
    }
}

bool runOnWorkerTask(const std::shared_ptr<CSearchProc>& process) {
    try {
        auto task = std::async(std::launch::async, [owner = process] { return owner->run(); });
        return task.get();
    } catch (...) {
        // No worker could be started, or the job ran out of memory; the
        // operation reports it as a failed job.
        return false;
    }
}

}  // namespace EnrollmentStation
