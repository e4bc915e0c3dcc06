// Shared set-up of the virtual station tests: a fresh station, no pacing.
#ifndef STATION_FIXTURE_H
#define STATION_FIXTURE_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

class StationTest : public ::testing::Test {
protected:
    void SetUp() override {
        vstation::reset();
        vstation::setPacing(false);
    }
    void TearDown() override { vstation::reset(); }

    static NET_DVR_USER_LOGIN_INFO loginRecord(const std::string& address = "127.0.0.1",
                                               uint16_t port = 8000,
                                               const std::string& user = "admin",
                                               const std::string& password = "Station#2026") {
        NET_DVR_USER_LOGIN_INFO info;
        std::memset(&info, 0, sizeof info);
        std::memcpy(info.sDeviceAddress, address.data(), std::min(address.size(), sizeof info.sDeviceAddress));
        info.wPort = port;
        std::memcpy(info.sUserName, user.data(), std::min(user.size(), sizeof info.sUserName));
        std::memcpy(info.sPassword, password.data(), std::min(password.size(), sizeof info.sPassword));
        info.byLoginMode = 2;
        return info;
    }

    // Logs in with `info`; returns the handle or -1 and the error in `error`.
    static int32_t login(NET_DVR_USER_LOGIN_INFO info, int32_t* error = nullptr,
                         NET_DVR_DEVICEINFO_V40* device = nullptr) {
        NET_DVR_DEVICEINFO_V40 scratch;
        std::memset(&scratch, 0, sizeof scratch);
        const int32_t handle = NET_DVR_Login_V40(&info, device ? device : &scratch);
        if (error) *error = handle < 0 ? NET_DVR_GetLastError() : NET_DVR_ERR_NONE;
        return handle;
    }
};

#endif  // STATION_FIXTURE_H
