// The long-connection calls: NET_DVR_StartRemoteConfig for the fingerprint
// (2504) and face (2510) collections and the offline store search (2554),
// NET_DVR_SendRemoteConfig for the search's pages, NET_DVR_StopRemoteConfig.
#include <algorithm>
#include <cstring>
#include <string>

#include "Jobs/LongConnection.h"
#include "Link/RemoteStation.h"
#include "Sdk/Runtime.h"
#include "Jobs/StreamJobs.h"
#include "ZornNetSDK.h"

using vstation::failHandle;
using vstation::failWith;
using vstation::LongConnections;
using vstation::Runtime;

namespace {

constexpr const char* kSearchRequestLine =
    "POST /OPRAL/AccessControl/OfflineCapture/DataCollections/searchTask?format=json\r\n";
// How much of a block the call log keeps.
constexpr uint32_t kLoggedBytes = 10240;
constexpr uint8_t kHighestFinger = 10;

bool allZero(const uint8_t* bytes, size_t count) {
    return std::all_of(bytes, bytes + count, [](uint8_t b) { return b == 0; });
}

// The 132-byte blocks of the collections: the size word right, the finger
// number (2504) in range, every reserved byte zero, as a block that was
// zeroed and then filled has them.
int32_t checkFingerBlock(const void* block, uint32_t length, uint8_t* finger) {
    NET_DVR_CAPTURE_FINGERPRINT_COND cond;
    if (block == nullptr || length != sizeof(cond)) return NET_DVR_ERR_PARAMETER;
    std::memcpy(&cond, block, sizeof(cond));
    if (cond.dwSize != sizeof(cond) || cond.byRes0 != 0 || !allZero(cond.byRes, sizeof(cond.byRes)) ||
        cond.byFingerPrintID == 0 || cond.byFingerPrintID > kHighestFinger) {
        return NET_DVR_ERR_PARAMETER;
    }
    *finger = cond.byFingerPrintID;
    return NET_DVR_ERR_NONE;
}

int32_t checkFaceBlock(const void* block, uint32_t length) {
    NET_DVR_CAPTURE_FACE_COND cond;
    if (block == nullptr || length != sizeof(cond)) return NET_DVR_ERR_PARAMETER;
    std::memcpy(&cond, block, sizeof(cond));
    if (cond.dwSize != sizeof(cond) || !allZero(cond.byRes, sizeof(cond.byRes))) return NET_DVR_ERR_PARAMETER;
    return NET_DVR_ERR_NONE;
}

// The search block is the request line and its terminating zero, nothing more.
int32_t checkSearchBlock(const void* block, uint32_t length) {
    if (block == nullptr || length < 2) return NET_DVR_ERR_PARAMETER;
    const char* text = static_cast<const char*>(block);
    if (text[length - 1] != '\0' || std::strlen(text) != length - 1) return NET_DVR_ERR_PARAMETER;
    return std::strcmp(text, kSearchRequestLine) == 0 ? NET_DVR_ERR_NONE : NET_DVR_ERR_NOT_SUPPORTED;
}

std::string searchLineOf(uint32_t command, const void* block, uint32_t length) {
    if (command != NET_DVR_SEARCH_CAPTURE_DATA || block == nullptr) return std::string();
    const char* text = static_cast<const char*>(block);
    return std::string(text, strnlen(text, std::min(length, kLoggedBytes)));
}

}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_StartRemoteConfig(int32_t lUserID, uint32_t dwCommand, void* lpInBuffer,
                                                     uint32_t dwInBufferLen, fRemoteConfigCallback cbStateCallback,
                                                     void* pUserData) {
    Runtime& runtime = Runtime::instance();
    const uint32_t logged = lpInBuffer ? std::min(dwInBufferLen, kLoggedBytes) : 0;
    if (int32_t error = runtime.enter("NET_DVR_StartRemoteConfig", {lUserID, dwCommand, dwInBufferLen},
                                      lpInBuffer, logged, searchLineOf(dwCommand, lpInBuffer, dwInBufferLen))) {
        return failHandle(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) {
        return vstation::link::startRemoteConfig(lUserID, dwCommand, lpInBuffer, dwInBufferLen, cbStateCallback, pUserData);
    }
    auto station = runtime.stationOf(lUserID);
    if (!station) return failHandle(NET_DVR_ERR_USER_ID);
    if (cbStateCallback == nullptr) return failHandle(NET_DVR_ERR_PARAMETER);

    std::unique_ptr<vstation::StreamJob> job;
    int32_t error = NET_DVR_ERR_NONE;
    switch (dwCommand) {
    case NET_DVR_CAPTURE_FINGERPRINT_INFO: {
        uint8_t finger = 0;
        error = checkFingerBlock(lpInBuffer, dwInBufferLen, &finger);
        if (!error) job = vstation::fingerCollectJob(station, finger, vstation::takeStreamScript(dwCommand));
        break;
    }
    case NET_DVR_CAPTURE_FACE_INFO:
        error = checkFaceBlock(lpInBuffer, dwInBufferLen);
        if (!error) job = vstation::faceCollectJob(station, vstation::takeStreamScript(dwCommand));
        break;
    case NET_DVR_SEARCH_CAPTURE_DATA:
        error = checkSearchBlock(lpInBuffer, dwInBufferLen);
        if (!error) job = vstation::searchJob(station, vstation::takeStreamScript(dwCommand));
        break;
    default:
        error = NET_DVR_ERR_NOT_SUPPORTED;
        break;
    }
    if (error) return failHandle(error);

    const int32_t handle = LongConnections::instance().open(lUserID, cbStateCallback, pUserData, std::move(job), &error);
    return handle < 0 ? failHandle(error) : handle;
}

ZORN_API int32_t ZORN_CALL NET_DVR_SendRemoteConfig(int32_t lHandle, uint32_t dwDataType, char* pSendBuf,
                                                    uint32_t dwBufSize) {
    const std::string page =
        pSendBuf ? std::string(pSendBuf, std::min(dwBufSize, kLoggedBytes)) : std::string();
    if (int32_t error = Runtime::instance().enter("NET_DVR_SendRemoteConfig", {lHandle, dwDataType, dwBufSize},
                                                  nullptr, 0, page)) {
        return failWith(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::LongConnection, lHandle)) return vstation::link::sendRemoteConfig(lHandle, dwDataType, pSendBuf, dwBufSize);
    auto connection = LongConnections::instance().find(lHandle);
    if (!connection) return failWith(NET_DVR_ERR_HANDLE);
    if (int32_t error = connection->page(dwDataType, pSendBuf, dwBufSize)) return failWith(error);
    return 1;
}

ZORN_API int32_t ZORN_CALL NET_DVR_StopRemoteConfig(int32_t lHandle) {
    if (int32_t error = Runtime::instance().enter("NET_DVR_StopRemoteConfig", {lHandle})) return failWith(error);
    if (vstation::link::isRemote(vstation::HandleKind::LongConnection, lHandle)) return vstation::link::stopRemoteConfig(lHandle);
    if (!LongConnections::instance().close(lHandle)) return failWith(NET_DVR_ERR_HANDLE);
    return 1;
}

}  // extern "C"
