// The control API: faults, call log, profiles and reset.
#include <iterator>
#include <set>
#include <vector>

#include "StationFixture.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

namespace {

using Control = StationTest;

const char* const kLogin = "NET_DVR_Login_V40";

TEST_F(Control, FailNextFailsTheNamedCallGivenTimesInScriptedOrder) {
    ASSERT_TRUE(NET_DVR_Init());
    vstation::failNext(kLogin, NET_DVR_ERR_CONNECT, 2);
    vstation::failNext(kLogin, NET_DVR_ERR_TIMEOUT);
    std::vector<int32_t> errors;
    for (int i = 0; i < 4; ++i) {
        int32_t error = 0;
        login(loginRecord(), &error);
        errors.push_back(error);
    }
    EXPECT_EQ(errors, (std::vector<int32_t>{NET_DVR_ERR_CONNECT, NET_DVR_ERR_CONNECT,
                                            NET_DVR_ERR_TIMEOUT, NET_DVR_ERR_NONE}));
    EXPECT_EQ(vstation::openHandles().logins, 1);

    // A failed logout keeps its session; a faulted init is not counted.
    vstation::failNext("NET_DVR_Logout_V30", NET_DVR_ERR_SEND);
    EXPECT_FALSE(NET_DVR_Logout_V30(0));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_SEND);
    EXPECT_TRUE(NET_DVR_Logout_V30(0));
    vstation::failNext("NET_DVR_Init", NET_DVR_ERR_ALLOC);
    EXPECT_FALSE(NET_DVR_Init());
    EXPECT_EQ(vstation::initCount(), 1);
}

TEST_F(Control, FailAlwaysHoldsUntilClearedAndYieldsToScriptedFaults) {
    ASSERT_TRUE(NET_DVR_Init());
    vstation::failAlways(kLogin, NET_DVR_ERR_CONNECT);
    vstation::failNext(kLogin, NET_DVR_ERR_RECV);
    int32_t error = 0;
    login(loginRecord(), &error);
    EXPECT_EQ(error, NET_DVR_ERR_RECV);
    for (int i = 0; i < 3; ++i) {
        login(loginRecord(), &error);
        EXPECT_EQ(error, NET_DVR_ERR_CONNECT);
    }
    vstation::clearFaults();
    EXPECT_EQ(login(loginRecord()), 0);
}

TEST_F(Control, ArmedFaultsListsWhatIsStillSwitchedOnAndCallsUseItUp) {
    ASSERT_TRUE(NET_DVR_Init());
    vstation::failNext(kLogin, NET_DVR_ERR_CONNECT, 2);
    vstation::failAlways(kLogin, NET_DVR_ERR_RECV);
    vstation::failAlways("NET_DVR_Logout_V30", NET_DVR_ERR_SEND);
    vstation::failAlways("NET_DVR_Logout_V30", NET_DVR_ERR_NONE);  // lifted again
    vstation::scriptStatus("", "{}", 3);
    vstation::StreamScript silent;
    silent.ending = vstation::StreamEnding::Silent;
    ASSERT_TRUE(vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, silent));

    auto faults = vstation::armedFaults();
    ASSERT_EQ(faults.size(), 4u);
    EXPECT_EQ(faults[0].kind, vstation::ArmedKind::CallFails);
    EXPECT_EQ(faults[0].call, kLogin);
    EXPECT_EQ(faults[0].error, NET_DVR_ERR_CONNECT);
    EXPECT_EQ(faults[0].remaining, 2);
    EXPECT_EQ(faults[1].error, NET_DVR_ERR_RECV);
    EXPECT_EQ(faults[1].remaining, -1);
    EXPECT_EQ(faults[2].kind, vstation::ArmedKind::ScriptedReply);
    EXPECT_FALSE(faults[2].succeeds);
    EXPECT_EQ(faults[2].remaining, 3);
    EXPECT_EQ(faults[3].kind, vstation::ArmedKind::StreamEnding);
    EXPECT_EQ(faults[3].command, static_cast<uint32_t>(NET_DVR_CAPTURE_FACE_INFO));
    EXPECT_EQ(faults[3].ending, vstation::StreamEnding::Silent);

    // Each call takes one; what is used up is no longer listed.
    login(loginRecord());
    EXPECT_EQ(vstation::armedFaults()[0].remaining, 1);
    login(loginRecord());
    EXPECT_EQ(vstation::armedFaults()[0].remaining, -1);

    vstation::clearFaults();
    vstation::clearScripts();
    vstation::clearStreamScripts();
    EXPECT_TRUE(vstation::armedFaults().empty());
}

TEST_F(Control, NotInitialisedWinsOverAFaultAndLeavesItScripted) {
    vstation::failNext(kLogin, NET_DVR_ERR_CONNECT);
    int32_t error = 0;
    login(loginRecord(), &error);
    EXPECT_EQ(error, NET_DVR_ERR_NOT_INITIALISED);
    ASSERT_TRUE(NET_DVR_Init());
    login(loginRecord(), &error);
    EXPECT_EQ(error, NET_DVR_ERR_CONNECT);
}

TEST_F(Control, CallLogKeepsEveryCallWithItsRecordButNotThePassword) {
    ASSERT_TRUE(NET_DVR_Init());
    NET_DVR_USER_LOGIN_INFO info = loginRecord();
    const int32_t handle = login(info);
    ASSERT_GE(handle, 0);
    NET_DVR_Logout_V30(handle);

    const auto log = vstation::callLog();
    std::vector<std::string> names;
    for (const auto& entry : log) names.push_back(entry.call);
    EXPECT_EQ(names, (std::vector<std::string>{"NET_DVR_Init", kLogin, "NET_DVR_Logout_V30"}));

    const auto& record = log[1].record;
    ASSERT_EQ(record.size(), sizeof(NET_DVR_USER_LOGIN_INFO));
    NET_DVR_USER_LOGIN_INFO logged;
    std::memcpy(&logged, record.data(), sizeof logged);
    EXPECT_STREQ(logged.sDeviceAddress, "127.0.0.1");
    EXPECT_STREQ(logged.sUserName, "admin");
    EXPECT_EQ(logged.wPort, 8000);
    EXPECT_EQ(std::string(logged.sPassword), std::string(12, '*'));
    EXPECT_EQ(logged.sPassword[12], '\0');
    EXPECT_STREQ(info.sPassword, "Station#2026") << "the caller's record must not change";
    EXPECT_EQ(log[2].args, (std::vector<int64_t>{handle}));

    vstation::clearCallLog();
    EXPECT_TRUE(vstation::callLog().empty());
}

TEST_F(Control, AFaultyProfileChangesNothingAndNamesTheKeyAtFault) {
    const std::string good = R"({"address": "10.0.0.1", "port": 8000, "accounts": [{"userName": "a", "password": "b"}]})";
    const struct {
        std::string profile;
        std::string where;
    } cases[] = {
        {"{\n  \"stations\": [,]}", "not valid JSON (line 2, column 16)"},
        {"[]", "profile must be a JSON object"},
        {R"({"stations": []})", "stations: must be a non-empty array"},
        {R"({"stations": [)" + good + R"(, 5]})", "stations[1]: must be an object"},
        {R"({"stations": [)" + good + R"(, {"port": 1}]})", "stations[1].address: missing"},
        {R"({"stations": [{"address": "h", "port": 70000}]})", "stations[0].port: must be an integer"},
        {R"({"stations": [{"address": "h", "port": 80.5}]})", "stations[0].port: must be an integer"},
        {R"({"stations": [{"address": "h", "port": 1, "accounts": []}]})", "stations[0].accounts: must be a non-empty array"},
        {R"({"stations": [{"address": "h", "port": 1, "accounts": [{"userName": "u"}]}]})", "stations[0].accounts[0].password: missing"},
        {R"({"stations": [{"address": "h", "port": 1, "accounts": [{"userName": ")" + std::string(65, 'u') + R"(", "password": "p"}]}]})", "stations[0].accounts[0].userName: must be 1 to 64 bytes"},
        {R"({"stations": [{"address": "h", "port": 1, "languageMask": 256, "accounts": [{"userName": "u", "password": "p"}]}]})", "stations[0].languageMask"},
        {R"({"stations": [)" + good + "," + good + "]}", "stations[1]: 10.0.0.1:8000 is already stations[0]"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(vstation::loadProfile(c.profile, &why)) << c.profile;
        EXPECT_NE(why.find(c.where), std::string::npos) << why;
    }
    std::string why;
    EXPECT_FALSE(vstation::loadProfileFile("/nonexistent/profile.json", &why));
    EXPECT_NE(why.find("/nonexistent/profile.json"), std::string::npos) << why;

    ASSERT_TRUE(NET_DVR_Init());
    EXPECT_GE(login(loginRecord()), 0) << "the built-in profile must still be in place";
}

TEST_F(Control, ANewProfileReplacesTheStationsButNotLiveSessions) {
    ASSERT_TRUE(NET_DVR_Init());
    const int32_t old = login(loginRecord());
    ASSERT_GE(old, 0);
    ASSERT_TRUE(vstation::loadProfile(
        R"({"stations": [{"address": "10.0.0.1", "port": 8000, "accounts": [{"userName": "a", "password": "b"}]}]})"));
    int32_t error = 0;
    EXPECT_EQ(login(loginRecord(), &error), -1);
    EXPECT_EQ(error, NET_DVR_ERR_NO_SUCH_STATION);
    EXPECT_GE(login(loginRecord("10.0.0.1", 8000, "a", "b")), 0);
    EXPECT_TRUE(NET_DVR_Logout_V30(old));
}

TEST_F(Control, ResetRestoresAFreshlyLoadedSdkButKeepsPacing) {
    ASSERT_TRUE(vstation::loadProfile(
        R"({"stations": [{"address": "10.0.0.1", "port": 8000, "accounts": [{"userName": "a", "password": "b"}]}]})"));
    ASSERT_TRUE(NET_DVR_Init());
    ASSERT_TRUE(NET_DVR_Init());
    ASSERT_GE(login(loginRecord("10.0.0.1", 8000, "a", "b")), 0);
    vstation::failAlways("NET_DVR_Init", NET_DVR_ERR_ALLOC);

    vstation::reset();
    EXPECT_EQ(vstation::initCount(), 0);
    EXPECT_EQ(vstation::openHandles().total(), 0);
    EXPECT_TRUE(vstation::callLog().empty());
    EXPECT_FALSE(vstation::pacing());
    ASSERT_TRUE(NET_DVR_Init()) << "faults must be gone";
    EXPECT_EQ(login(loginRecord()), 0) << "built-in profile, handles from zero";
}

TEST_F(Control, EveryErrorNumberHasItsOwnWords) {
    const int32_t errors[] = {NET_DVR_ERR_NONE, NET_DVR_ERR_PASSWORD, NET_DVR_ERR_NOT_INITIALISED,
                              NET_DVR_ERR_CHANNEL, NET_DVR_ERR_CONNECT, NET_DVR_ERR_SEND,
                              NET_DVR_ERR_RECV, NET_DVR_ERR_TIMEOUT, NET_DVR_ERR_ORDER,
                              NET_DVR_ERR_PARAMETER, NET_DVR_ERR_NOT_SUPPORTED, NET_DVR_ERR_FILE,
                              NET_DVR_ERR_ALLOC, NET_DVR_ERR_NO_SUCH_STATION, NET_DVR_ERR_USER_ID,
                              NET_DVR_ERR_HANDLE, NET_DVR_ERR_BUSY, NET_DVR_ERR_BUFFER_SMALL,
                              NET_DVR_ERR_STATION_REFUSED};
    std::set<std::string> texts;
    for (int32_t error : errors) texts.insert(vstation::errorText(error));
    EXPECT_EQ(texts.size(), std::size(errors));
    EXPECT_EQ(texts.count(vstation::errorText(-5)), 0u);
}

}  // namespace
