// The login session against the virtual station: the round trip, injected
// faults, the init flag, and the lines written on the way.
#include "SessionFixture.h"
#include "VirtualStation/StationControl.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::LoginParam;

TEST_F(SessionTest, LoginAndLogoutRoundTrip) {
    CEnrollmentStation station;
    EXPECT_FALSE(station.isInit());
    EXPECT_TRUE(station.uninitEnrollmentStation());  // nothing to end
    EXPECT_TRUE(vstation::callLog().empty());

    long id = -1;
    ASSERT_TRUE(login(station, &id));
    EXPECT_GE(id, 0);
    EXPECT_TRUE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 1);
    long again = -1;
    ASSERT_TRUE(login(station, &again));  // logged in: same handle, no SDK call
    EXPECT_EQ(again, id);
    EXPECT_EQ(sessionCalls(), (Strings{"NET_DVR_Init", "NET_DVR_Login_V40"}));

    station.setSDKLogPath("/var/log/sdk");
    ASSERT_TRUE(station.uninitEnrollmentStation());
    EXPECT_FALSE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 0);
    EXPECT_EQ(vstation::initCount(), 0);
    // The member reset logs out once more, after the clean-up; the refusal
    // is logged and left as the last error of a successful logout.
    EXPECT_EQ(sessionCalls(), (Strings{"NET_DVR_Init", "NET_DVR_Login_V40", "NET_DVR_Logout_V30",
                                       "NET_DVR_Cleanup", "NET_DVR_Logout_V30"}));
    EXPECT_EQ(lastError(), std::make_pair(50, 3));
    EXPECT_EQ(sessionFailures(),
              (Strings{sessionLine("initEnrollmentStation", "Login device UserID[" + std::to_string(id) + "]."),
                       sessionLine("unInitMembers", "Logout device failed. ErrorCode [3].")}));

    ASSERT_TRUE(login(station, &id));  // a fresh start initialises again
    EXPECT_EQ(vstation::initCount(), 1);
    EXPECT_TRUE(station.uninitEnrollmentStation());
}

TEST_F(SessionTest, EmptyFieldFailsWithoutCodeEvenWhenLoggedIn) {
    CEnrollmentStation station;
    for (bool loggedIn : {false, true}) {
        if (loggedIn) {
            ASSERT_TRUE(login(station));
        }
        vstation::clearCallLog();
        setLastError(1, 2);
        for (auto field : {&LoginParam::deviceAddress, &LoginParam::port, &LoginParam::userName,
                           &LoginParam::password}) {
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

TEST_F(SessionTest, SdkFailuresAreReportedAndLogged) {
    CEnrollmentStation station;
    long id = 5;
    vstation::failNext("NET_DVR_Init", NET_DVR_ERR_ALLOC);
    EXPECT_FALSE(login(station, &id));
    EXPECT_EQ(id, -1);
    EXPECT_EQ(lastError(), std::make_pair(50, 41));

    // A refused login leaves the SDK up; the next attempt starts over.
    id = 5;
    EXPECT_FALSE(station.initEnrollmentStation(loginWith(&LoginParam::password, "wrong"), id));
    EXPECT_EQ(id, -1);
    EXPECT_EQ(lastError(), std::make_pair(50, 1));
    EXPECT_EQ(vstation::initCount(), 1);
    ASSERT_TRUE(login(station, &id));
    EXPECT_EQ(vstation::initCount(), 2);

    // A failed logout keeps the session, so it can be repeated.
    vstation::failNext("NET_DVR_Logout_V30", NET_DVR_ERR_RECV);
    EXPECT_FALSE(station.uninitEnrollmentStation());
    EXPECT_EQ(lastError(), std::make_pair(50, 9));
    EXPECT_TRUE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 1);

    // A failed clean-up does not stop the logout. The SDK is still up, so the
    // second logout is refused for the handle, and that is the last error.
    vstation::failNext("NET_DVR_Cleanup", NET_DVR_ERR_ORDER);
    EXPECT_TRUE(station.uninitEnrollmentStation());
    EXPECT_FALSE(station.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 0);
    EXPECT_EQ(lastError(), std::make_pair(50, 48));

    EXPECT_EQ(sessionFailures(),
              (Strings{sessionLine("initEnrollmentStation", "Init net sdk failed. ErrorCode [41]."),
                       sessionLine("initEnrollmentStation", "Login device UserID[-1]."),
                       sessionLine("initEnrollmentStation", "Login device failed. ErrorCode [1]."),
                       sessionLine("initEnrollmentStation", "Login device UserID[" + std::to_string(id) + "]."),
                       sessionLine("unInitEnrollmentStation", "Logout device failed. ErrorCode [9]."),
                       sessionLine("unInitEnrollmentStation", "Clean net sdk failed. ErrorCode [12]."),
                       sessionLine("unInitMembers", "Logout device failed. ErrorCode [48].")}));
}

TEST_F(SessionTest, SetIsInitMarksTheFlagAndLogsTheGivenHandleOut) {
    CEnrollmentStation station;
    EXPECT_FALSE(station.setIsInit(true, -1));
    EXPECT_TRUE(station.isInit());
    EXPECT_TRUE(vstation::callLog().empty());

    CEnrollmentStation other;
    long id = -1;
    ASSERT_TRUE(login(other, &id));
    setLastError(0, 0);
    EXPECT_TRUE(other.setIsInit(false, id));
    EXPECT_FALSE(other.isInit());
    EXPECT_EQ(vstation::openHandles().logins, 0);
    EXPECT_EQ(lastError(), std::make_pair(0, 0));

    EXPECT_TRUE(other.setIsInit(false, id));  // now unknown: still true, refusal recorded
    EXPECT_EQ(lastError(), std::make_pair(50, 48));
    EXPECT_EQ(sessionFailures().back(), sessionLine("setIsInit", "Logout device failed. ErrorCode [48]."));

    ASSERT_TRUE(login(other, &id));  // flag down: a full login with a new session
    EXPECT_EQ(vstation::openHandles().logins, 1);
    EXPECT_TRUE(other.uninitEnrollmentStation());
}
