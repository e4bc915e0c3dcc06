// An SDK built the way a vendor's would be: the eighteen calls and nothing
// else. Every station is out of reach: whatever needs one fails with
// NET_DVR_ERR_CONNECT. Built as a library of the SDK's own name, so a program
// finds it in place of the virtual station through the loader's search path.
#include "ZornNetSDK.h"

namespace {
int32_t g_lastError = NET_DVR_ERR_NONE;
int32_t unreachable(int32_t result) {
    g_lastError = NET_DVR_ERR_CONNECT;
    return result;
}
}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_Init(void) { return 1; }
ZORN_API int32_t ZORN_CALL NET_DVR_Cleanup(void) { return 1; }
ZORN_API int32_t ZORN_CALL NET_DVR_Login_V40(NET_DVR_USER_LOGIN_INFO*, NET_DVR_DEVICEINFO_V40*) {
    return unreachable(-1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_Logout_V30(int32_t) { return unreachable(0); }
ZORN_API int32_t ZORN_CALL NET_DVR_GetLastError(void) { return g_lastError; }
ZORN_API int32_t ZORN_CALL NET_DVR_GetDeviceAbility(int32_t, uint32_t, char*, uint32_t, char*, uint32_t) {
    return unreachable(0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_STDXMLConfig(int32_t, NET_DVR_XML_CONFIG_INPUT*, NET_DVR_XML_CONFIG_OUTPUT*) {
    return unreachable(0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetDVRConfig(int32_t, uint32_t, int32_t, void*, uint32_t, uint32_t*) {
    return unreachable(0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_SetDVRConfig(int32_t, uint32_t, int32_t, void*, uint32_t) {
    return unreachable(0);
}
ZORN_API int32_t ZORN_CALL NET_DVR_StartRemoteConfig(int32_t, uint32_t, void*, uint32_t, fRemoteConfigCallback,
                                                     void*) {
    return unreachable(-1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_SendRemoteConfig(int32_t, uint32_t, char*, uint32_t) { return unreachable(0); }
ZORN_API int32_t ZORN_CALL NET_DVR_StopRemoteConfig(int32_t) { return unreachable(0); }
ZORN_API int32_t ZORN_CALL NET_DVR_UploadFile_V40(int32_t, uint32_t, void*, uint32_t, char*, void*, uint32_t) {
    return unreachable(-1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetUploadState(int32_t, uint32_t*) { return unreachable(-1); }
ZORN_API int32_t ZORN_CALL NET_DVR_UploadClose(int32_t) { return unreachable(0); }
ZORN_API int32_t ZORN_CALL NET_DVR_StartDownload(int32_t, uint32_t, void*, uint32_t, char*) {
    return unreachable(-1);
}
ZORN_API int32_t ZORN_CALL NET_DVR_GetDownloadState(int32_t, uint32_t*) { return unreachable(-1); }
ZORN_API int32_t ZORN_CALL NET_DVR_StopDownload(int32_t) { return unreachable(0); }

}  // extern "C"
