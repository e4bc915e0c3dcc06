// The program's own SDK: all eighteen calls. Login answers with handle 4242
// and language mask 2, logout accepts that handle, the rest refuse.
#include "ReplacementSdk.h"

#include <cstring>

namespace replacement {
std::vector<std::string> g_calls;
std::string g_address;
uint16_t g_port = 0;
}  // namespace replacement

using replacement::g_calls;

namespace {
int32_t g_lastError = 0;
int32_t refuse(const char* call, int32_t result) {
    g_calls.push_back(call);
    g_lastError = NET_DVR_ERR_NOT_SUPPORTED;
    return result;
}
}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_Init(void) { g_calls.push_back("NET_DVR_Init"); return 1; }
ZORN_API int32_t ZORN_CALL NET_DVR_Cleanup(void) { g_calls.push_back("NET_DVR_Cleanup"); return 1; }
ZORN_API int32_t ZORN_CALL NET_DVR_Login_V40(NET_DVR_USER_LOGIN_INFO* login, NET_DVR_DEVICEINFO_V40* device) {
    g_calls.push_back("NET_DVR_Login_V40");
    const void* end = std::memchr(login->sDeviceAddress, '\0', sizeof login->sDeviceAddress);
    replacement::g_address.assign(static_cast<const char*>(login->sDeviceAddress), static_cast<const char*>(end));
    replacement::g_port = login->wPort;
    device->byLanguageType = replacement::kLanguageMask;
    return replacement::kHandle;
}
ZORN_API int32_t ZORN_CALL NET_DVR_Logout_V30(int32_t user) {
    if (user != replacement::kHandle) return refuse("NET_DVR_Logout_V30", 0);
    g_calls.push_back("NET_DVR_Logout_V30");
    return 1;
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetLastError(void) { return g_lastError; }
ZORN_API int32_t ZORN_CALL NET_DVR_GetDeviceAbility(int32_t, uint32_t, char*, uint32_t, char*, uint32_t) {
    return refuse("NET_DVR_GetDeviceAbility", 0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_STDXMLConfig(int32_t, NET_DVR_XML_CONFIG_INPUT*, NET_DVR_XML_CONFIG_OUTPUT*) {
    return refuse("NET_DVR_STDXMLConfig", 0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetDVRConfig(int32_t, uint32_t, int32_t, void*, uint32_t, uint32_t*) {
    return refuse("NET_DVR_GetDVRConfig", 0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_SetDVRConfig(int32_t, uint32_t, int32_t, void*, uint32_t) {
    return refuse("NET_DVR_SetDVRConfig", 0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_StartRemoteConfig(int32_t, uint32_t, void*, uint32_t, fRemoteConfigCallback,
                                                     void*) {
    return refuse("NET_DVR_StartRemoteConfig", -1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_SendRemoteConfig(int32_t, uint32_t, char*, uint32_t) {
    return refuse("NET_DVR_SendRemoteConfig", 0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_StopRemoteConfig(int32_t) { return refuse("NET_DVR_StopRemoteConfig", 0); }
ZORN_API int32_t ZORN_CALL NET_DVR_UploadFile_V40(int32_t, uint32_t, void*, uint32_t, char*, void*, uint32_t) {
    return refuse("NET_DVR_UploadFile_V40", -1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetUploadState(int32_t, uint32_t*) { return refuse("NET_DVR_GetUploadState", 3); }
ZORN_API int32_t ZORN_CALL NET_DVR_UploadClose(int32_t) { return refuse("NET_DVR_UploadClose", 0); }
ZORN_API int32_t ZORN_CALL NET_DVR_StartDownload(int32_t, uint32_t, void*, uint32_t, char*) {
    return refuse("NET_DVR_StartDownload", -1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetDownloadState(int32_t, uint32_t*) {
    return refuse("NET_DVR_GetDownloadState", 3);
}
ZORN_API int32_t ZORN_CALL NET_DVR_StopDownload(int32_t) { return refuse("NET_DVR_StopDownload", 0); }

}  // extern "C"
