// Fingerprint and face collection: one long-connection job each, whose first
// result is the captured sample.
#include <utility>

#include "BaseSDK/SearchProc.h"
#include "Common/Protocol/JSONStruct/Messages.h"
#include "EnrollmentOperator.h"
#include "EnrollmentStation/EnrollmentStation.h"
#include "LastError.h"
#include "RecordConversion.h"

namespace EnrollmentStation {

namespace {

// The finger the station is asked to collect.
constexpr const char* kFingerNumber = "1";

// Runs one collect job and reads its first result into `sample`; later
// results are dropped. (69, 8203) when no result arrived or it did not parse;
// a cancelled or timed-out job keeps its own code. Progress goes to
// `progress` (the face handler reports it; an empty target hears nothing).
template <typename Sample>
bool collect(CEnrollmentOperator& op, long userId, int32_t command, const char* condition, Sample& sample,
             const ProgressTarget& progress = ProgressTarget()) {
    protocol::BatchPassThroughReq request;
    request.m_nCommand = command;
    request.m_strCondBuffer = condition;
    const std::shared_ptr<CSearchProc> process = CSearchProc::create(static_cast<int32_t>(userId), request);
    process->progress().open(progress, ProgressOperation::FaceCapture);
    const bool ran = op.runStreamJob(process);
    process->progress().close();
    if (!ran) return false;
    ReturnList results;
    process->takeReturnData(results);
    if (!results.empty() && protocol::TParseJSONStr(sample, results.front().m_strOutBuffer)) {
        return true;
    }
    setLastError(kErrMainLibrary, kErrCollectFailed);
    return false;
}

}  // namespace

bool CEnrollmentOperator::captureFingerInfo(protocol::FingerPrintData& data) {
    if (!requireSession(m_lUserID)) return false;
    return collect(*this, m_lUserID, NET_DVR_CAPTURE_FINGERPRINT_INFO, kFingerNumber, data);
}

bool CEnrollmentOperator::captureFaceInfo(protocol::FaceData& data) {
    if (!requireSession(m_lUserID)) return false;
    return collect(*this, m_lUserID, NET_DVR_CAPTURE_FACE_INFO, "", data, progressTarget());
}

bool CEnrollmentStation::captureFingerInfo(FingerPrintInfomation& info) {
    protocol::FingerPrintData data;
    if (!m_pOperator->captureFingerInfo(data)) return false;
    readInto(std::move(data), info);
    return true;
}

bool CEnrollmentStation::captureFaceInfo(FaceInformation& info) {
    protocol::FaceData data;
    if (!m_pOperator->captureFaceInfo(data)) return false;
    readInto(std::move(data), info);
    return true;
}

}  // namespace EnrollmentStation
