#include <gtest/gtest.h>

#include "EnrollmentStation/EnrollmentStation.h"
#include "KestroBase/LogSink.h"
#include "ReplacementSdk.h"

using Strings = std::vector<std::string>;

TEST(ReplacementSdk, TheLibraryCallsTheProgramsOwnDefinitions) {
    kestro_standin::setLogSink([](int, const std::string&, const std::string&) {});
    EnrollmentStation::CEnrollmentStation station;
    long id = -1;
    ASSERT_TRUE(station.initEnrollmentStation({"10.1.2.3", "8123", "operator", "secret"}, id));
    EXPECT_EQ(id, replacement::kHandle);
    ASSERT_GE(replacement::g_calls.size(), 2u);
    EXPECT_EQ(Strings(replacement::g_calls.begin(), replacement::g_calls.begin() + 2),
              (Strings{"NET_DVR_Init", "NET_DVR_Login_V40"}));
    EXPECT_EQ(replacement::g_address, "10.1.2.3");
    EXPECT_EQ(replacement::g_port, 8123);
    int language = 0;
    EXPECT_TRUE(station.getDeviceLanguageType(language));
    EXPECT_EQ(language, 2);

    replacement::g_calls.clear();
    EXPECT_TRUE(station.uninitEnrollmentStation());
    EXPECT_EQ(replacement::g_calls, (Strings{"NET_DVR_Logout_V30", "NET_DVR_Cleanup", "NET_DVR_Logout_V30"}));
    kestro_standin::setLogSink(nullptr);
}
