// Init, login, logout and the last error of the virtual station.
#include <set>
#include <thread>
#include <vector>

#include "StationFixture.h"
#include "VirtualStation/StationControl.h"

namespace {

using Session = StationTest;

TEST_F(Session, InitIsCountedAndTheLastCleanupEndsEverySession) {
    EXPECT_EQ(NET_DVR_Cleanup(), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_INITIALISED);
    int32_t error = 0;
    EXPECT_EQ(login(loginRecord(), &error), -1);
    EXPECT_EQ(error, NET_DVR_ERR_NOT_INITIALISED);

    ASSERT_TRUE(NET_DVR_Init());
    ASSERT_TRUE(NET_DVR_Init());
    const int32_t first = login(loginRecord());
    const int32_t second = login(loginRecord());
    ASSERT_GE(first, 0);
    ASSERT_GE(second, 0);

    ASSERT_TRUE(NET_DVR_Cleanup());
    EXPECT_EQ(vstation::initCount(), 1);
    EXPECT_EQ(vstation::openHandles().logins, 2);
    EXPECT_TRUE(NET_DVR_Logout_V30(first));

    ASSERT_TRUE(NET_DVR_Cleanup());
    EXPECT_EQ(vstation::initCount(), 0);
    EXPECT_EQ(vstation::openHandles().total(), 0);
    EXPECT_FALSE(NET_DVR_Logout_V30(second));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_INITIALISED);

    // A new init does not bring the old session back.
    ASSERT_TRUE(NET_DVR_Init());
    EXPECT_FALSE(NET_DVR_Logout_V30(second));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_USER_ID);
}

TEST_F(Session, LoginRejectsEveryWrongRecordAndLeavesTheDeviceRecordAlone) {
    ASSERT_TRUE(NET_DVR_Init());
    struct Case {
        const char* what;
        NET_DVR_USER_LOGIN_INFO info;
        int32_t error;
    };
    std::vector<Case> cases = {
        {"unknown address", loginRecord("127.0.0.2"), NET_DVR_ERR_NO_SUCH_STATION},
        {"unknown port", loginRecord("127.0.0.1", 8001), NET_DVR_ERR_NO_SUCH_STATION},
        {"unknown user", loginRecord("127.0.0.1", 8000, "guest"), NET_DVR_ERR_PASSWORD},
        {"wrong password", loginRecord("127.0.0.1", 8000, "admin", "station#2026"), NET_DVR_ERR_PASSWORD},
        {"password prefix", loginRecord("127.0.0.1", 8000, "admin", "Station#202"), NET_DVR_ERR_PASSWORD},
        {"empty user", loginRecord("127.0.0.1", 8000, ""), NET_DVR_ERR_PASSWORD},
    };
    Case wrongMode{"login mode", loginRecord(), NET_DVR_ERR_PARAMETER};
    wrongMode.info.byLoginMode = 0;
    cases.push_back(wrongMode);
    Case pastField{"byte past the address", loginRecord(), NET_DVR_ERR_PARAMETER};
    pastField.info.byRes1 = 'x';
    cases.push_back(pastField);
    Case reserved{"reserved byte", loginRecord(), NET_DVR_ERR_PARAMETER};
    reserved.info.byRes3[128] = 1;
    cases.push_back(reserved);

    for (const Case& c : cases) {
        NET_DVR_DEVICEINFO_V40 device;
        std::memset(&device, 0xAB, sizeof device);
        int32_t error = 0;
        EXPECT_EQ(login(c.info, &error, &device), -1) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
        EXPECT_EQ(device.byLanguageType, 0xAB) << c.what;
    }

    NET_DVR_USER_LOGIN_INFO info = loginRecord();
    NET_DVR_DEVICEINFO_V40 device;
    EXPECT_EQ(NET_DVR_Login_V40(nullptr, &device), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(NET_DVR_Login_V40(&info, nullptr), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(vstation::openHandles().logins, 0);
}

TEST_F(Session, FullFieldsAreReadToTheirEndAndTheDeviceRecordIsFilled) {
    const std::string address(129, 'a');
    const std::string user(64, 'u');
    const std::string password(64, 'p');
    const std::string serial(48, 'S');
    const std::string profile = R"({"stations": [{"address": ")" + address +
                                R"(", "port": 9000, "languageMask": 6, "serialNumber": ")" +
                                serial + R"(", "accounts": [{"userName": ")" + user +
                                R"(", "password": ")" + password + R"("}]}]})";
    std::string why;
    ASSERT_TRUE(vstation::loadProfile(profile, &why)) << why;
    ASSERT_TRUE(NET_DVR_Init());

    NET_DVR_DEVICEINFO_V40 device;
    std::memset(&device, 0xAB, sizeof device);
    int32_t error = 0;
    ASSERT_EQ(login(loginRecord(address, 9000, user, password), &error, &device), 0) << error;
    EXPECT_EQ(std::string(device.sSerialNumber, sizeof device.sSerialNumber), serial);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(&device)[70], 6);
    for (size_t i = 48; i < sizeof device; ++i) {
        if (i != 70) {
            EXPECT_EQ(reinterpret_cast<const uint8_t*>(&device)[i], 0) << "byte " << i;
        }
    }
}

TEST_F(Session, HandlesStartAtZeroAreNeverReusedAndUnknownOnesAreRefused) {
    ASSERT_TRUE(NET_DVR_Init());
    EXPECT_EQ(login(loginRecord()), 0);
    EXPECT_EQ(login(loginRecord()), 1);
    EXPECT_TRUE(NET_DVR_Logout_V30(0));
    EXPECT_EQ(login(loginRecord()), 2);
    EXPECT_EQ(vstation::openHandles().logins, 2);

    for (int32_t unknown : {0, -1, 3, INT32_MAX}) {
        EXPECT_FALSE(NET_DVR_Logout_V30(unknown)) << unknown;
        EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_USER_ID) << unknown;
    }
    EXPECT_EQ(vstation::openHandles().logins, 2);
}

TEST_F(Session, ConcurrentLoginsGetDistinctHandles) {
    ASSERT_TRUE(NET_DVR_Init());
    std::vector<std::vector<int32_t>> handles(4);
    std::vector<std::thread> threads;
    for (auto& mine : handles) {
        threads.emplace_back([&mine] {
            for (int i = 0; i < 50; ++i) mine.push_back(login(loginRecord()));
        });
    }
    for (auto& t : threads) t.join();
    std::set<int32_t> distinct;
    for (const auto& mine : handles) distinct.insert(mine.begin(), mine.end());
    EXPECT_EQ(distinct.size(), 200u);
    EXPECT_EQ(*distinct.begin(), 0);
    EXPECT_EQ(vstation::openHandles().logins, 200);
}

TEST_F(Session, LastErrorIsKeptPerThreadAndClearedByTheNextCall) {
    EXPECT_FALSE(NET_DVR_Logout_V30(0));
    ASSERT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_INITIALISED);
    int32_t elsewhere = -1;
    std::thread([&elsewhere] { elsewhere = NET_DVR_GetLastError(); }).join();
    EXPECT_EQ(elsewhere, NET_DVR_ERR_NONE);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_INITIALISED);

    ASSERT_TRUE(NET_DVR_Init());
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NONE);
}

}  // namespace
