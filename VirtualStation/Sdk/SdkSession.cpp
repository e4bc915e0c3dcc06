// Session calls of the SDK: init, clean-up, login, logout, last error.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "Link/RemoteStation.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "ZornNetSDK.h"

using vstation::failHandle;
using vstation::failWith;
using vstation::Runtime;

namespace {

constexpr uint8_t kLoginMode = 2;
// What a login takes on a local network.
constexpr auto kLoginPace = std::chrono::milliseconds(20);

// A text field: up to its first NUL, never past its end.
template <size_t N>
std::string fieldText(const char (&field)[N]) {
    const void* nul = std::memchr(field, '\0', N);
    const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : N;
    return std::string(field, length);
}

template <size_t N>
bool allZero(const uint8_t (&bytes)[N]) {
    for (uint8_t b : bytes) {
        if (b != 0) return false;
    }
    return true;
}

// The record as the call log keeps it: the password never leaves this call.
NET_DVR_USER_LOGIN_INFO masked(const NET_DVR_USER_LOGIN_INFO& info) {
    NET_DVR_USER_LOGIN_INFO copy;
    std::memcpy(&copy, &info, sizeof copy);
    for (char& c : copy.sPassword) {
        if (c != '\0') c = '*';
    }
    return copy;
}

}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_Init(void) {
    auto& runtime = Runtime::instance();
    if (int32_t error = runtime.enter("NET_DVR_Init", {})) return failWith(error);
    runtime.init();
    return 1;
}

ZORN_API int32_t ZORN_CALL NET_DVR_Cleanup(void) {
    auto& runtime = Runtime::instance();
    if (int32_t error = runtime.enter("NET_DVR_Cleanup", {})) return failWith(error);
    if (int32_t error = runtime.cleanup()) return failWith(error);
    if (runtime.initCount() == 0) vstation::link::closeAll();
    return 1;
}

ZORN_API int32_t ZORN_CALL NET_DVR_Login_V40(NET_DVR_USER_LOGIN_INFO* pLoginInfo,
                                             NET_DVR_DEVICEINFO_V40* lpDeviceInfo) {
    auto& runtime = Runtime::instance();
    int32_t error = NET_DVR_ERR_NONE;
    if (pLoginInfo) {
        const NET_DVR_USER_LOGIN_INFO logged = masked(*pLoginInfo);
        error = runtime.enter("NET_DVR_Login_V40", {}, &logged, sizeof logged);
    } else {
        error = runtime.enter("NET_DVR_Login_V40", {});
    }
    if (error) return failHandle(error);
    if (!pLoginInfo || !lpDeviceInfo) return failHandle(NET_DVR_ERR_PARAMETER);

    // Reserved bytes set mean the caller wrote past a field or did not
    // zero the record.
    const NET_DVR_USER_LOGIN_INFO& info = *pLoginInfo;
    if (info.byRes1 != 0 || !allZero(info.byRes2) || !allZero(info.byRes3) ||
        info.byLoginMode != kLoginMode) {
        return failHandle(NET_DVR_ERR_PARAMETER);
    }

    // A process that set up no station of its own reaches station processes.
    if (!runtime.hasStations()) return vstation::link::login(info, lpDeviceInfo);
    const auto station = runtime.findStation(fieldText(info.sDeviceAddress), info.wPort);
    if (!station) return failHandle(NET_DVR_ERR_NO_SUCH_STATION);
    if (runtime.pacing()) std::this_thread::sleep_for(kLoginPace);

    const std::string user = fieldText(info.sUserName);
    const std::string password = fieldText(info.sPassword);
    bool known = false;
    for (const auto& account : station->accounts) {
        known = known || (account.userName == user && account.password == password);
    }
    if (!known) return failHandle(NET_DVR_ERR_PASSWORD);

    const int32_t handle = runtime.openSession(station);
    if (handle < 0) return failHandle(NET_DVR_ERR_ALLOC);

    std::memset(lpDeviceInfo, 0, sizeof *lpDeviceInfo);
    std::memcpy(lpDeviceInfo->sSerialNumber, station->serialNumber.data(),
                std::min(station->serialNumber.size(), sizeof lpDeviceInfo->sSerialNumber));
    lpDeviceInfo->byLanguageType = station->languageMask;
    return handle;
}

ZORN_API int32_t ZORN_CALL NET_DVR_Logout_V30(int32_t lUserID) {
    auto& runtime = Runtime::instance();
    if (int32_t error = runtime.enter("NET_DVR_Logout_V30", {lUserID})) return failWith(error);
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) return vstation::link::logout(lUserID);
    if (!runtime.closeSession(lUserID)) return failWith(NET_DVR_ERR_USER_ID);
    return 1;
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetLastError(void) {
    Runtime::instance().enter("NET_DVR_GetLastError", {});
    return vstation::lastError();
}

}  // extern "C"
