// SDK calls whose station family is not in place yet. Each block answers
// "not supported" until its family brings the real call; the family then
// deletes its block here.
#include "Runtime.h"
#include "ZornNetSDK.h"

using vstation::failHandle;
using vstation::failWith;
using vstation::Runtime;

extern "C" {

// ==== NET_DVR_StartRemoteConfig ====
ZORN_API int32_t ZORN_CALL NET_DVR_StartRemoteConfig(int32_t lUserID, uint32_t dwCommand, void* lpInBuffer, uint32_t dwInBufferLen, fRemoteConfigCallback cbStateCallback, void* pUserData) {
    (void)lpInBuffer;
    (void)cbStateCallback;
    (void)pUserData;
    if (int32_t error = Runtime::instance().enter("NET_DVR_StartRemoteConfig", {lUserID, dwCommand, dwInBufferLen})) return failHandle(error);
    return failHandle(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_StartRemoteConfig ====

// ==== NET_DVR_SendRemoteConfig ====
ZORN_API int32_t ZORN_CALL NET_DVR_SendRemoteConfig(int32_t lHandle, uint32_t dwDataType, char* pSendBuf, uint32_t dwBufSize) {
    (void)pSendBuf;
    if (int32_t error = Runtime::instance().enter("NET_DVR_SendRemoteConfig", {lHandle, dwDataType, dwBufSize})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_SendRemoteConfig ====

// ==== NET_DVR_StopRemoteConfig ====
ZORN_API int32_t ZORN_CALL NET_DVR_StopRemoteConfig(int32_t lHandle) {
        if (int32_t error = Runtime::instance().enter("NET_DVR_StopRemoteConfig", {lHandle})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_StopRemoteConfig ====

}  // extern "C"
