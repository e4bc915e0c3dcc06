// The login session against the virtual station: the normal round trip, every
// injected fault, the init flag, and the lines written on the way.
#include <regex>
#include <string>
#include <vector>

#include "KestroBase.h"
#include "SessionFixture.h"
#include "VirtualStation/Control.h"
#include "ZornNetSDK.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::LoginParam;
using Strings = std::vector<std::string>;

namespace {

const std::string kInit = "EnrollmentStation::CEnrollmentOperator::initEnrollmentStation";
const std::string kUnInit = "EnrollmentStation::CEnrollmentOperator::unInitEnrollmentStation";
const std::string kMembers = "EnrollmentStation::CEnrollmentOperator::unInitMembers";
const std::string kSetIsInit = "EnrollmentStation::CEnrollmentOperator::setIsInit";

// The whole text of a session log line, whatever line number it names.
std::regex lineOf(const std::string& method, const std::string& message) {
    const std::regex special(R"([\[\]\\.()^$|*+?{}])");
    const std::string body = std::regex_replace("[" + method + "]" + message, special, R"(\$&)");
    return std::regex(body + R"(\[EnrollmentStation\\EnrollmentOperator\(\d+\)\])");
}

}  // namespace

TEST_F(SessionTest, FreshObjectHasNoSessionAndLogoutIsANoOp) {
    CEnrollmentStation station;
    EXPECT_FALSE(station.isInit());
    EXPECT_TRUE(station.uninitEnrollmentStation());
    EXPECT_TRUE(vstation::callLog().empty());
    EXPECT_EQ(lastError(), std::make_pair(0, 0));
}

TEST_F(SessionTest, LoginAndLogoutRoundTrip) {
    CEnrollmentStation station;
    long id = -1;
    ASSERT_TRUE(login(station, &id));
    EXPECT_GE(id, 0);
    EXPECT_TRUE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 1);
    EXPECT_EQ(vstation::initCount(), 1);

    const std::vector<estest::LogLine> records = logRecords();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].level, 5);
    EXPECT_EQ(records[0].module, "EnrollmentStation");
    EXPECT_TRUE(std::regex_match(records[0].text,
                                 lineOf(kInit, "Login device UserID[" + std::to_string(id) + "].")))
        << records[0].text;
    EXPECT_EQ(sessionFailures().size(), 1u);

    // Logged in: the same handle again, without touching the SDK.
    long again = -1;
    ASSERT_TRUE(login(station, &again));
    EXPECT_EQ(again, id);
    EXPECT_EQ(sessionCalls(), (Strings{"NET_DVR_Init", "NET_DVR_Login_V40"}));

    station.setSDKLogPath("/var/log/sdk");
    ASSERT_TRUE(station.uninitEnrollmentStation());
    EXPECT_FALSE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 0);
    EXPECT_EQ(vstation::initCount(), 0);
    // The member reset logs the handle out a second time, after the clean-up;
    // the SDK refuses, and that becomes the last error of a successful logout.
    EXPECT_EQ(sessionCalls(), (Strings{"NET_DVR_Init", "NET_DVR_Login_V40", "NET_DVR_Logout_V30",
                                       "NET_DVR_Cleanup", "NET_DVR_Logout_V30"}));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_NOT_INITIALISED}));
    const Strings failures = sessionFailures();
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_TRUE(std::regex_match(failures[1], lineOf(kMembers, "Logout device failed. ErrorCode [3].")))
        << failures[1];

    // Fresh again: a login starts from the SDK's initialisation.
    long next = -1;
    ASSERT_TRUE(login(station, &next));
    EXPECT_GE(next, 0);
    EXPECT_EQ(vstation::initCount(), 1);
    EXPECT_TRUE(station.uninitEnrollmentStation());
}

TEST_F(SessionTest, EmptyFieldFailsWithoutCodeEvenWhenLoggedIn) {
    std::string LoginParam::*const fields[] = {&LoginParam::deviceAddress, &LoginParam::port,
                                               &LoginParam::userName, &LoginParam::password};
    CEnrollmentStation station;
    for (bool loggedIn : {false, true}) {
        if (loggedIn) {
            ASSERT_TRUE(login(station));
        }
        vstation::clearCallLog();
        Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(1, 2));
        for (auto field : fields) {
            long id = 77;
            EXPECT_FALSE(station.initEnrollmentStation(loginWith(field, ""), id));
            EXPECT_EQ(id, -1);
        }
        EXPECT_EQ(lastError(), std::make_pair(1, 2));
        EXPECT_TRUE(vstation::callLog().empty());
        EXPECT_EQ(station.isInit(), loggedIn);
    }
    EXPECT_TRUE(station.uninitEnrollmentStation());
}

TEST_F(SessionTest, InitFailureReportsTheSdkError) {
    vstation::failNext("NET_DVR_Init", NET_DVR_ERR_ALLOC);
    CEnrollmentStation station;
    long id = 5;
    EXPECT_FALSE(login(station, &id));
    EXPECT_EQ(id, -1);
    EXPECT_FALSE(station.isInit());
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_ALLOC}));
    EXPECT_EQ(sessionCalls(), Strings{"NET_DVR_Init"});
    const Strings lines = sessionFailures();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(std::regex_match(lines[0], lineOf(kInit, "Init net sdk failed. ErrorCode [41].")))
        << lines[0];
}

TEST_F(SessionTest, LoginFailureLeavesTheSdkUpAndTheNextLoginStartsOver) {
    CEnrollmentStation station;
    long id = 5;
    EXPECT_FALSE(station.initEnrollmentStation(loginWith(&LoginParam::password, "wrong"), id));
    EXPECT_EQ(id, -1);
    EXPECT_FALSE(station.isInit());
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_PASSWORD}));
    EXPECT_EQ(vstation::initCount(), 1);
    EXPECT_EQ(vstation::openHandles().logins, 0);
    const Strings lines = sessionFailures();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(std::regex_match(lines[0], lineOf(kInit, "Login device UserID[-1]."))) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], lineOf(kInit, "Login device failed. ErrorCode [1].")))
        << lines[1];

    ASSERT_TRUE(login(station, &id));
    EXPECT_GE(id, 0);
    EXPECT_EQ(sessionCalls(),
              (Strings{"NET_DVR_Init", "NET_DVR_Login_V40", "NET_DVR_Init", "NET_DVR_Login_V40"}));
    EXPECT_TRUE(station.uninitEnrollmentStation());
}

TEST_F(SessionTest, LogoutFailureKeepsTheSessionForARetry) {
    CEnrollmentStation station;
    long id = -1;
    ASSERT_TRUE(login(station, &id));
    vstation::failNext("NET_DVR_Logout_V30", NET_DVR_ERR_RECV);
    EXPECT_FALSE(station.uninitEnrollmentStation());
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_RECV}));
    EXPECT_TRUE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 1);
    EXPECT_TRUE(logged("[" + kUnInit + "]Logout device failed. ErrorCode [9]."));

    long same = -1;
    ASSERT_TRUE(login(station, &same));
    EXPECT_EQ(same, id);
    EXPECT_TRUE(station.uninitEnrollmentStation());
    EXPECT_FALSE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 0);
}

TEST_F(SessionTest, CleanupFailureIsRecordedButLogoutCompletes) {
    CEnrollmentStation station;
    ASSERT_TRUE(login(station));
    vstation::failNext("NET_DVR_Cleanup", NET_DVR_ERR_ORDER);
    EXPECT_TRUE(station.uninitEnrollmentStation());
    EXPECT_FALSE(station.isInit());
    const Strings lines = sessionFailures();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(std::regex_match(lines[1], lineOf(kUnInit, "Clean net sdk failed. ErrorCode [12].")))
        << lines[1];
    // The SDK is still up, so the second logout is refused for the handle
    // instead, and that refusal is the last error.
    EXPECT_TRUE(std::regex_match(lines[2], lineOf(kMembers, "Logout device failed. ErrorCode [48].")))
        << lines[2];
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_USER_ID}));
    EXPECT_EQ(vstation::initCount(), 1);
}

TEST_F(SessionTest, SetIsInitMarksTheFlagAndLogsTheGivenHandleOut) {
    CEnrollmentStation station;
    EXPECT_FALSE(station.setIsInit(true, -1));
    EXPECT_TRUE(station.isInit());
    EXPECT_TRUE(vstation::callLog().empty());
    EXPECT_EQ(lastError(), std::make_pair(0, 0));

    CEnrollmentStation other;
    long id = -1;
    ASSERT_TRUE(login(other, &id));
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0));
    EXPECT_TRUE(other.setIsInit(false, id));
    EXPECT_FALSE(other.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 0);
    EXPECT_EQ(lastError(), std::make_pair(0, 0));

    // A handle the SDK does not know: still true, the refusal recorded.
    EXPECT_TRUE(other.setIsInit(false, id));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_USER_ID}));
    EXPECT_TRUE(logged("[" + kSetIsInit + "]Logout device failed. ErrorCode [48]."));

    // The flag is down, so the next login is a full one with a new session.
    long fresh = -1;
    ASSERT_TRUE(login(other, &fresh));
    EXPECT_GE(fresh, 0);
    EXPECT_EQ(vstation::openHandles().logins, 1);
    EXPECT_TRUE(other.uninitEnrollmentStation());
}
