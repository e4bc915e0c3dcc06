// A station that is briefly unreachable: the first restart, 3 s later,
// opens the connection; a stop cuts the restarts short.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "StreamingSupport.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"

using streamtest::LoggedInTest;

namespace {

using Clock = std::chrono::steady_clock;

class RecoveryTest : public LoggedInTest {};

int ignore(std::string, void*) { return 0; }

TEST_F(RecoveryTest, TheFirstRestartThatOpensCarriesOn) {
    streamtest::FastWaitClock fast;
    vstation::failNext("NET_DVR_StartRemoteConfig", NET_DVR_ERR_CONNECT, 1);
    EnrollmentStation::FingerPrintInfomation info;
    const auto start = Clock::now();
    EXPECT_TRUE(station->captureFingerInfo(info));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(3000 / fast.kSpeedUp));
    EXPECT_FALSE(logged("restart long connect failed"));
    EXPECT_EQ(streamtest::callCount("NET_DVR_StartRemoteConfig"), 2);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(RecoveryTest, AStopEndsTheRestartsOfASearch) {
    vstation::failAlways("NET_DVR_StartRemoteConfig", NET_DVR_ERR_CONNECT);
    int user = 0;
    bool result = false;
    Clock::time_point returnedAt;
    std::thread search([&] {
        result = station->searchCaptureData(&ignore, &user);
        returnedAt = Clock::now();
    });
    // Wait for the first attempt, then stop during the pause before the restart.
    while (streamtest::callCount("NET_DVR_StartRemoteConfig") == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto stopAt = Clock::now();
    station->stopSearchCaptureData(true);
    search.join();
    // From the stop to the search's return; its thread's end is not the library's.
    EXPECT_LT(returnedAt - stopAt, std::chrono::milliseconds(100));
    EXPECT_TRUE(result);
    EXPECT_EQ(streamtest::callCount("NET_DVR_StartRemoteConfig"), 1);
}

}  // namespace
