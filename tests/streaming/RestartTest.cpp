// A station that cannot be reached: the long connection is restarted three
// times, 3 s apart (on a clock a hundred times faster).
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "StreamingSupport.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"

using streamtest::LoggedInTest;

namespace {

using Clock = std::chrono::steady_clock;

class RestartTest : public LoggedInTest {};

TEST_F(RestartTest, UnreachableStationFailsAfterThreeRestarts) {
    streamtest::FastWaitClock fast;
    vstation::failNext("NET_DVR_StartRemoteConfig", NET_DVR_ERR_CONNECT, 4);
    EnrollmentStation::FingerPrintInfomation info;
    const auto start = Clock::now();
    EXPECT_FALSE(station->captureFingerInfo(info));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(9000 / fast.kSpeedUp));
    EXPECT_LT(took, std::chrono::milliseconds(1500));
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));
    int failures = 0;
    for (const std::string& line : logLines(5)) failures += line.find("restart long connect failed command[2504] error[7]") != std::string::npos;
    EXPECT_EQ(failures, 3);
    EXPECT_EQ(streamtest::callCount("NET_DVR_StartRemoteConfig"), 4);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

}  // namespace
