// Fixed-layout configuration: the face parameter record (commands 2505/2506).
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

#include "Link/RemoteStation.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "ZornNetSDK.h"

using vstation::failWith;
using vstation::Runtime;

namespace {

constexpr int32_t kFaceParamChannel = 1;
constexpr uint32_t kRecordSize = sizeof(NET_DVR_FACE_PARAM_CFG);

// The caller's record as far as it claims to reach, for the call log.
size_t loggedSize(const void* buffer, uint32_t size) {
    return buffer ? std::min<size_t>(size, kRecordSize) : 0;
}

// The buffer must be exactly one record that knows its own size.
bool validRecord(const void* buffer, uint32_t size) {
    if (!buffer || size != kRecordSize) return false;
    uint32_t ownSize = 0;
    std::memcpy(&ownSize, buffer, sizeof ownSize);
    return ownSize == kRecordSize;
}

// The station of a face parameter call that passed the checks both
// directions make, in their order; null with the SDK error in `error`.
std::shared_ptr<vstation::Station> faceParamStation(int32_t userId, uint32_t command, uint32_t expectedCommand,
                                                    int32_t channel, int32_t* error) {
    auto station = Runtime::instance().stationOf(userId);
    *error = !station                        ? NET_DVR_ERR_USER_ID
             : command != expectedCommand    ? NET_DVR_ERR_NOT_SUPPORTED
             : channel != kFaceParamChannel  ? NET_DVR_ERR_CHANNEL
                                             : NET_DVR_ERR_NONE;
    return *error == NET_DVR_ERR_NONE ? station : nullptr;
}

}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_GetDVRConfig(int32_t lUserID, uint32_t dwCommand, int32_t lChannel,
                                                void* lpOutBuffer, uint32_t dwOutBufferSize,
                                                uint32_t* lpBytesReturned) {
    // The returned-size word goes into the log as it was handed in (-1: none).
    const int64_t returnedBefore = lpBytesReturned ? static_cast<int64_t>(*lpBytesReturned) : -1;
    if (int32_t error = Runtime::instance().enter(
            "NET_DVR_GetDVRConfig", {lUserID, dwCommand, lChannel, dwOutBufferSize, returnedBefore},
            lpOutBuffer, loggedSize(lpOutBuffer, dwOutBufferSize))) {
        return failWith(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) {
        return vstation::link::getDvrConfig(lUserID, dwCommand, lChannel, lpOutBuffer, dwOutBufferSize, lpBytesReturned);
    }
    int32_t error = NET_DVR_ERR_NONE;
    auto station = faceParamStation(lUserID, dwCommand, NET_DVR_GET_FACE_PARAM_CFG, lChannel, &error);
    if (!station) return failWith(error);
    if (!validRecord(lpOutBuffer, dwOutBufferSize) || !lpBytesReturned) {
        return failWith(NET_DVR_ERR_PARAMETER);
    }

    NET_DVR_FACE_PARAM_CFG record;
    std::memset(&record, 0, sizeof record);
    record.dwSize = kRecordSize;
    {
        std::lock_guard<std::mutex> lock(station->mutex);
        record.byEnable = station->device.faceSwitch;
        record.byValue = station->device.faceValue;
    }
    std::memcpy(lpOutBuffer, &record, sizeof record);
    *lpBytesReturned = kRecordSize;
    return 1;
}

ZORN_API int32_t ZORN_CALL NET_DVR_SetDVRConfig(int32_t lUserID, uint32_t dwCommand, int32_t lChannel,
                                                void* lpInBuffer, uint32_t dwInBufferSize) {
    if (int32_t error = Runtime::instance().enter("NET_DVR_SetDVRConfig",
                                                  {lUserID, dwCommand, lChannel, dwInBufferSize},
                                                  lpInBuffer, loggedSize(lpInBuffer, dwInBufferSize))) {
        return failWith(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) {
        return vstation::link::setDvrConfig(lUserID, dwCommand, lChannel, lpInBuffer, dwInBufferSize);
    }
    int32_t error = NET_DVR_ERR_NONE;
    auto station = faceParamStation(lUserID, dwCommand, NET_DVR_SET_FACE_PARAM_CFG, lChannel, &error);
    if (!station) return failWith(error);
    if (!validRecord(lpInBuffer, dwInBufferSize)) return failWith(NET_DVR_ERR_PARAMETER);

    NET_DVR_FACE_PARAM_CFG record;
    std::memcpy(&record, lpInBuffer, sizeof record);
    // The switch has two positions; anything else is a malformed record.
    if (record.byEnable != 1 && record.byEnable != 2) return failWith(NET_DVR_ERR_PARAMETER);

    std::lock_guard<std::mutex> lock(station->mutex);
    station->device.faceSwitch = record.byEnable;
    station->device.faceValue = record.byValue;
    return 1;
}

}  // extern "C"
