#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"
#include "KestroBase.h"
#include "KestroBase/LogSink.h"
#include "ReplacementSdk.h"

using replacement::served;

TEST(ReplacementSdk, TheLibraryCallsTheProgramsOwnDefinitions) {
    kestro_standin::setLogSink([](int, const std::string&, const std::string&) {});
    served().clear();

    EnrollmentStation::CEnrollmentStation station;
    long id = -1;
    ASSERT_TRUE(station.initEnrollmentStation({"10.1.2.3", "8123", "operator", "secret"}, id));
    EXPECT_EQ(id, replacement::kHandle);
    ASSERT_GE(served().size(), 2u);
    EXPECT_EQ(served()[0].call, "NET_DVR_Init");
    EXPECT_EQ(served()[1].call, "NET_DVR_Login_V40");
    EXPECT_EQ(served()[1].address, "10.1.2.3");
    EXPECT_EQ(served()[1].port, 8123);

    int language = 0;
    EXPECT_TRUE(station.getDeviceLanguageType(language));
    EXPECT_EQ(language, 2);

    served().clear();
    EXPECT_TRUE(station.uninitEnrollmentStation());
    std::vector<std::string> calls;
    for (const replacement::Served& call : served()) {
        calls.push_back(call.call);
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"NET_DVR_Logout_V30", "NET_DVR_Cleanup", "NET_DVR_Logout_V30"}));
    EXPECT_FALSE(station.isInit());
    kestro_standin::setLogSink(nullptr);
}
