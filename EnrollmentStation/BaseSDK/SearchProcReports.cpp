// The report handlers of CSearchProc, on the SDK's thread: the station's
// records and statuses become result documents and wake the worker.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <utility>

#include "BaseSDK/SearchProc.h"
#include "BaseSDK/TextEncoding.h"
#include "Common/Protocol/JSONStruct/Messages.h"
#include "KestroBase.h"
#include "LastError.h"
#include "Common/LogSource.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kFingerMethod = "EnrollmentStation::CSearchProc::processFingerCollect";
constexpr const char* kFaceMethod = "EnrollmentStation::CSearchProc::processFaceCollect";
constexpr const char* kSearchMethod = "EnrollmentStation::CSearchProc::processSearchCaptureData";

constexpr uint8_t kFaceComplete = 100;

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
    setLastError(kErrMainLibrary, kErrCollectFailed);
}

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
            kFingerMethod, static_cast<int>(templateLength), quality, kSrcBaseSDK, logline::kFingerReport);
        const uint32_t count = ++m_nResultCount;
        pushResult(*this, std::to_string(count), protocol::TToJSONStr(finger));
        return;
    }
    const StatusReport report = readStatus(type, buffer, length);
    if (!report.valid) return;
    if (report.status == NET_SDK_CALLBACK_STATUS_SUCCESS) {
        Kestro::Base::details::VexaFormatLog(kLogTrace, "Finger collect callback. Finished.",
                                             "[%s][%s(%d)]", kFingerMethod, kSrcBaseSDK, logline::kFingerFinished);
        finishJob(false);
    } else if (report.status == NET_SDK_CALLBACK_STATUS_FAILED) {
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]Finger collect. Process failed. ErrorCode [%d].[%s(%d)]",
            kFingerMethod, report.failureError, kSrcBaseSDK, logline::kFingerFailed);
        setStreamFailed();
        finishJob(false);
    }
}

void CSearchProc::processFaceCollect(uint32_t type, const void* buffer, uint32_t length) {
    if (type == NET_SDK_CALLBACK_TYPE_DATA && buffer != nullptr) {
        if (length < kFaceRecordMin) return;
        const uint8_t progress = fieldAt<uint8_t>(buffer, offsetof(FaceRecord, byCaptureProgress));
        m_progress.report(progress);
        if (progress != kFaceComplete) return;

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
                                             "[%s][%s(%d)]", kFaceMethod, kSrcBaseSDK, logline::kFaceFinished);
        finishJob(false);
    } else if (report.status == NET_SDK_CALLBACK_STATUS_FAILED ||
               report.status == NET_SDK_CALLBACK_STATUS_EXCEPTION) {
        const bool failed = report.status == NET_SDK_CALLBACK_STATUS_FAILED;
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]Face collect. Process failed. ErrorCode [%d].[%s(%d)]",
            kFaceMethod, failed ? report.failureError : report.exceptionError, kSrcBaseSDK,
            failed ? logline::kFaceFailed : logline::kFaceException);
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
            static_cast<int>(infrared.length), kSrcBaseSDK, logline::kSearchReport);

        const bool toCaller = m_fnUserCallback != nullptr && m_pUserData != nullptr;
        // A callback-form search without a callback delivers to nobody.
        const bool kept = toCaller || !m_bCallbackForm;
        if (!response.m_vecDataCollections.empty() && kept) {
            if (face.present() && face.length < kSearchPictureLimit) {
                result.m_strFaceData = base64Text(face.data, face.length);
            }
            if (infrared.present() && infrared.length < kSearchPictureLimit) {
                result.m_strInfraredFaceData = base64Text(infrared.data, infrared.length);
            }
            const protocol::DataCollect& record = response.m_vecDataCollections.front();
            for (protocol::FingerprintData& finger : response.m_vecDataCollections.front().m_vecFingerprintList) {
                std::string raw;
                // What the decoder made of it is kept; the loss is logged.
                if (!Kestro::Base::Encrypt::Base64Decode(raw, finger.m_strFingerprint)) {
                    Kestro::Base::details::VexaFormatLog(
                        kLogFailure, kLogModule,
                        "[%s]Record captureNo[%d]: field fingerprint of fingerprintID[%d] is not Base64.[%s(%d)]",
                        kSearchMethod, record.m_nCaptureNo, finger.m_nFingerprintID, kSrcBaseSDK, __LINE__);
                }
                finger.m_strFingerprint = hexText(raw.data(), raw.size());
            }
            if (toCaller) {
                m_fnUserCallback(protocol::TToJSONStr(result), m_pUserData);
            } else {
                pushResult(*this, std::to_string(m_nResultCount.load()), protocol::TToJSONStr(result));
            }
        }
        if (!response.m_vecDataCollections.empty()) {
            ++m_nResultCount;
            ++m_nSearchPosition;
        }

        const std::string& status = response.m_strResponseStatusStrg;
        const bool noMatch = status == kSearchNoMatch;
        // The caller hears of an empty store before the worker is woken.
        if (noMatch && toCaller) m_fnUserCallback(protocol::TToJSONStr(result), m_pUserData);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (status == kSearchLast || noMatch) {
                m_bDone = true;
            } else if (status == kSearchMore) {
                m_bDone = false;
            }
            m_bDataArrived = true;
            m_cond.notify_one();
        }
        // The worker asks for the next page meanwhile.
        if (m_resultReader) {
            std::lock_guard<std::mutex> reading(m_readerLock);
            ReturnList results;
            takeReturnData(results);
            if (!results.empty()) m_resultReader(results);
        }
        return;
    }
    const StatusReport report = readStatus(type, buffer, length);
    if (!report.valid) return;
    if (report.status == NET_SDK_CALLBACK_STATUS_SUCCESS) {
        Kestro::Base::details::VexaFormatLog(kLogTrace, "search Capture Data callback.", "[%s][%s(%d)]",
                                             kSearchMethod, kSrcBaseSDK, logline::kSearchFinished);
        finishJob(false);
    } else if (report.status == NET_SDK_CALLBACK_STATUS_FAILED) {
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]Search capture data. Process failed. ErrorCode [%d].[%s(%d)]",
            kSearchMethod, report.failureError, kSrcBaseSDK, logline::kSearchFailed);
        setStreamFailed();
        finishJob(false);
        if (m_fnUserCallback != nullptr && m_pUserData != nullptr) {
            protocol::SearchCaptureData failure;
            failure.m_stSearchTaskCond.m_strResponseStatusStrg = kSearchFailed;
            m_fnUserCallback(protocol::TToJSONStr(failure), m_pUserData);
        }
    }
}

}  // namespace EnrollmentStation
