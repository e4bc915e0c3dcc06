// A report that arrives after its collection has ended must never become the
// result of the next one. Every close of the connection fails, so the first
// collection's connection stays open and delivers a late template after the
// job is gone; the next job lives at the same address (RecyclingAllocator.cpp).
#include <gtest/gtest.h>

#include "StreamingSupport.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"
#include "ZornNetSDK.h"

using streamtest::LoggedInTest;

namespace {

class MisroutingTest : public LoggedInTest {};

vstation::FingerprintSample finger(const std::string& templateBytes, uint8_t quality) {
    vstation::FingerprintSample sample;
    sample.templateBytes = templateBytes;
    sample.quality = quality;
    return sample;
}

TEST_F(MisroutingTest, ALateReportNeverBecomesTheNextCollectionsResult) {
    vstation::failAlways("NET_DVR_StopRemoteConfig", NET_DVR_ERR_SEND);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        clearLog();
        vstation::StreamScript endsThenReportsAgain;
        endsThenReportsAgain.lateRecords = 1;
        endsThenReportsAgain.lateDelayMs = 100;
        endsThenReportsAgain.lateTemplate = "\xEE\xEE";
        vstation::StreamScript slowReader;
        slowReader.reportDelayMs = 400;  // its own template comes after the late one
        vstation::scriptStream(NET_DVR_CAPTURE_FINGERPRINT_INFO, endsThenReportsAgain);
        vstation::scriptStream(NET_DVR_CAPTURE_FINGERPRINT_INFO, slowReader);

        ASSERT_TRUE(vstation::setFingerprintSample(finger("\x0A", 9)));
        EnrollmentStation::FingerPrintInfomation first;
        ASSERT_TRUE(station->captureFingerInfo(first));
        EXPECT_EQ(first.fingerPrintData, "0A");

        ASSERT_TRUE(vstation::setFingerprintSample(finger("\x0B", 7)));
        EnrollmentStation::FingerPrintInfomation second;
        ASSERT_TRUE(station->captureFingerInfo(second));
        EXPECT_EQ(second.fingerPrintData, "0B");
        EXPECT_EQ(second.fingerPrintQuality, 7);
        EXPECT_TRUE(logged("Dropped a report of an ended job"));
    }
    vstation::clearFaults();
    station->uninitEnrollmentStation();
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

}  // namespace
