// All eighteen SDK calls, defined by the test program.
#include "ReplacementSdk.h"

#include <cstring>

#include "ZornNetSDK.h"

namespace replacement {

std::vector<Served>& served() {
    static std::vector<Served> calls;
    return calls;
}

}  // namespace replacement

namespace {

int32_t g_lastError = 0;

int32_t note(const char* call, int64_t handle = 0) {
    replacement::served().push_back({call, handle, {}, 0});
    return 1;
}

int32_t refuse(const char* call, int64_t handle, int32_t failed) {
    note(call, handle);
    g_lastError = replacement::kRefusal;
    return failed;
}

}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_Init(void) { return note("NET_DVR_Init"); }

ZORN_API int32_t ZORN_CALL NET_DVR_Cleanup(void) { return note("NET_DVR_Cleanup"); }

ZORN_API int32_t ZORN_CALL NET_DVR_Login_V40(NET_DVR_USER_LOGIN_INFO* pLoginInfo,
                                             NET_DVR_DEVICEINFO_V40* lpDeviceInfo) {
    replacement::Served call{"NET_DVR_Login_V40", 0, {}, 0};
    const char* address = pLoginInfo->sDeviceAddress;
    const void* end = std::memchr(address, '\0', sizeof pLoginInfo->sDeviceAddress);
    call.address.assign(address, end ? static_cast<const char*>(end) : address + sizeof pLoginInfo->sDeviceAddress);
    call.port = pLoginInfo->wPort;
    replacement::served().push_back(call);
    lpDeviceInfo->byLanguageType = replacement::kLanguageMask;
    return replacement::kHandle;
}

ZORN_API int32_t ZORN_CALL NET_DVR_Logout_V30(int32_t lUserID) {
    return lUserID == replacement::kHandle ? note("NET_DVR_Logout_V30", lUserID)
                                           : refuse("NET_DVR_Logout_V30", lUserID, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetLastError(void) { return g_lastError; }

ZORN_API int32_t ZORN_CALL NET_DVR_GetDeviceAbility(int32_t lUserID, uint32_t, char*, uint32_t, char*,
                                                    uint32_t) {
    return refuse("NET_DVR_GetDeviceAbility", lUserID, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_STDXMLConfig(int32_t lUserID, NET_DVR_XML_CONFIG_INPUT*,
                                                NET_DVR_XML_CONFIG_OUTPUT*) {
    return refuse("NET_DVR_STDXMLConfig", lUserID, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetDVRConfig(int32_t lUserID, uint32_t, int32_t, void*, uint32_t,
                                                uint32_t*) {
    return refuse("NET_DVR_GetDVRConfig", lUserID, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_SetDVRConfig(int32_t lUserID, uint32_t, int32_t, void*, uint32_t) {
    return refuse("NET_DVR_SetDVRConfig", lUserID, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_StartRemoteConfig(int32_t lUserID, uint32_t, void*, uint32_t,
                                                     fRemoteConfigCallback, void*) {
    return refuse("NET_DVR_StartRemoteConfig", lUserID, -1);
}

ZORN_API int32_t ZORN_CALL NET_DVR_SendRemoteConfig(int32_t lHandle, uint32_t, char*, uint32_t) {
    return refuse("NET_DVR_SendRemoteConfig", lHandle, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_StopRemoteConfig(int32_t lHandle) {
    return refuse("NET_DVR_StopRemoteConfig", lHandle, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_UploadFile_V40(int32_t lUserID, uint32_t, void*, uint32_t, char*, void*,
                                                  uint32_t) {
    return refuse("NET_DVR_UploadFile_V40", lUserID, -1);
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetUploadState(int32_t lUploadHandle, uint32_t*) {
    return refuse("NET_DVR_GetUploadState", lUploadHandle, 3);
}

ZORN_API int32_t ZORN_CALL NET_DVR_UploadClose(int32_t lUploadHandle) {
    return refuse("NET_DVR_UploadClose", lUploadHandle, 0);
}

ZORN_API int32_t ZORN_CALL NET_DVR_StartDownload(int32_t lUserID, uint32_t, void*, uint32_t, char*) {
    return refuse("NET_DVR_StartDownload", lUserID, -1);
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetDownloadState(int32_t lDownloadHandle, uint32_t*) {
    return refuse("NET_DVR_GetDownloadState", lDownloadHandle, 3);
}

ZORN_API int32_t ZORN_CALL NET_DVR_StopDownload(int32_t lDownloadHandle) {
    return refuse("NET_DVR_StopDownload", lDownloadHandle, 0);
}

}  // extern "C"
