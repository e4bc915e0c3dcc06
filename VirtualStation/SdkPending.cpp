// SDK calls whose station family is not in place yet. Each block answers
// "not supported" until its family brings the real call; the family then
// deletes its block here.
#include "Runtime.h"
#include "ZornNetSDK.h"

using vstation::failHandle;
using vstation::failWith;
using vstation::Runtime;

extern "C" {

// ==== NET_DVR_GetDeviceAbility ====
ZORN_API int32_t ZORN_CALL NET_DVR_GetDeviceAbility(int32_t lUserID, uint32_t dwAbilityType, char* pInBuf, uint32_t dwInLength, char* pOutBuf, uint32_t dwOutLength) {
    (void)pInBuf;
    (void)pOutBuf;
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetDeviceAbility", {lUserID, dwAbilityType, dwInLength, dwOutLength})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_GetDeviceAbility ====

// ==== NET_DVR_STDXMLConfig ====
ZORN_API int32_t ZORN_CALL NET_DVR_STDXMLConfig(int32_t lUserID, NET_DVR_XML_CONFIG_INPUT* lpInputParam, NET_DVR_XML_CONFIG_OUTPUT* lpOutputParam) {
    (void)lpInputParam;
    (void)lpOutputParam;
    if (int32_t error = Runtime::instance().enter("NET_DVR_STDXMLConfig", {lUserID})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_STDXMLConfig ====

// ==== NET_DVR_GetDVRConfig ====
ZORN_API int32_t ZORN_CALL NET_DVR_GetDVRConfig(int32_t lUserID, uint32_t dwCommand, int32_t lChannel, void* lpOutBuffer, uint32_t dwOutBufferSize, uint32_t* lpBytesReturned) {
    (void)lpOutBuffer;
    (void)lpBytesReturned;
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetDVRConfig", {lUserID, dwCommand, lChannel, dwOutBufferSize})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_GetDVRConfig ====

// ==== NET_DVR_SetDVRConfig ====
ZORN_API int32_t ZORN_CALL NET_DVR_SetDVRConfig(int32_t lUserID, uint32_t dwCommand, int32_t lChannel, void* lpInBuffer, uint32_t dwInBufferSize) {
    (void)lpInBuffer;
    if (int32_t error = Runtime::instance().enter("NET_DVR_SetDVRConfig", {lUserID, dwCommand, lChannel, dwInBufferSize})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_SetDVRConfig ====

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

// ==== NET_DVR_UploadFile_V40 ====
ZORN_API int32_t ZORN_CALL NET_DVR_UploadFile_V40(int32_t lUserID, uint32_t dwUploadType, void* lpInBuffer, uint32_t dwInBufferSize, char* sFileName, void* lpOutBuffer, uint32_t dwOutBufferSize) {
    (void)lpInBuffer;
    (void)sFileName;
    (void)lpOutBuffer;
    if (int32_t error = Runtime::instance().enter("NET_DVR_UploadFile_V40", {lUserID, dwUploadType, dwInBufferSize, dwOutBufferSize})) return failHandle(error);
    return failHandle(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_UploadFile_V40 ====

// ==== NET_DVR_GetUploadState ====
ZORN_API int32_t ZORN_CALL NET_DVR_GetUploadState(int32_t lUploadHandle, uint32_t* pProgress) {
    (void)pProgress;
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetUploadState", {lUploadHandle})) return failHandle(error);
    return failHandle(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_GetUploadState ====

// ==== NET_DVR_UploadClose ====
ZORN_API int32_t ZORN_CALL NET_DVR_UploadClose(int32_t lUploadHandle) {
        if (int32_t error = Runtime::instance().enter("NET_DVR_UploadClose", {lUploadHandle})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_UploadClose ====

// ==== NET_DVR_StartDownload ====
ZORN_API int32_t ZORN_CALL NET_DVR_StartDownload(int32_t lUserID, uint32_t dwDownloadType, void* lpInBuffer, uint32_t dwInBufferSize, char* sFileName) {
    (void)lpInBuffer;
    (void)sFileName;
    if (int32_t error = Runtime::instance().enter("NET_DVR_StartDownload", {lUserID, dwDownloadType, dwInBufferSize})) return failHandle(error);
    return failHandle(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_StartDownload ====

// ==== NET_DVR_GetDownloadState ====
ZORN_API int32_t ZORN_CALL NET_DVR_GetDownloadState(int32_t lDownloadHandle, uint32_t* pProgress) {
    (void)pProgress;
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetDownloadState", {lDownloadHandle})) return failHandle(error);
    return failHandle(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_GetDownloadState ====

// ==== NET_DVR_StopDownload ====
ZORN_API int32_t ZORN_CALL NET_DVR_StopDownload(int32_t lDownloadHandle) {
        if (int32_t error = Runtime::instance().enter("NET_DVR_StopDownload", {lDownloadHandle})) return failWith(error);
    return failWith(NET_DVR_ERR_NOT_SUPPORTED);
}
// ==== end NET_DVR_StopDownload ====

}  // extern "C"
