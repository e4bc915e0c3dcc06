// A way out of every wait: cancelCurrentOperation, the stream time-out, and
// logout or destruction while an operation still runs on another thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "KestroBase.h"
#include "StreamingSupport.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"
#include "VirtualStation/TransferControl.h"
#include "ZornNetSDK.h"

using streamtest::LoggedInTest;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

class WayOutTest : public LoggedInTest {
protected:
    // Starts `operation` on a thread of its own and waits until the station
    // holds its connection or transfer open.
    void start(std::function<bool()> operation) {
        m_returned = false;
        m_thread = std::thread([this, operation] {
            m_result = operation();
            m_returnedAt = Clock::now();
            m_error = lastError();
            m_returned = true;
        });
        while (vstation::openHandles().longConnections + vstation::openHandles().downloads == 0) {
            std::this_thread::sleep_for(milliseconds(2));
        }
        std::this_thread::sleep_for(milliseconds(30));
        EXPECT_FALSE(m_returned) << "the operation should still wait";
    }
    // Waits for the operation ended by a cancel at `cancelAt`. The library's
    // part is the way from the cancel to the close it hands the station
    // (`closeCall`): under 100 ms. The close is the SDK's call and takes what
    // it takes; the virtual station removes a partial download there, which
    // on a busy disk took up to 270 ms. Both figures go to the test's
    // properties, in microseconds, as `name`CloseUs and `name`ReturnUs.
    void expectEndedByCancel(Clock::time_point cancelAt, const char* closeCall, const std::string& name) {
        m_thread.join();
        const auto closeAt = streamtest::lastCallAt(closeCall);
        EXPECT_GT(closeAt, cancelAt) << closeCall << " after the cancel";
        const auto toClose = std::chrono::duration_cast<microseconds>(closeAt - cancelAt);
        const auto toReturn = std::chrono::duration_cast<microseconds>(m_returnedAt - cancelAt);
        RecordProperty(name + "CloseUs", std::to_string(toClose.count()));
        RecordProperty(name + "ReturnUs", std::to_string(toReturn.count()));
        EXPECT_LT(toClose, milliseconds(100));
    }

    std::thread m_thread;
    std::atomic<bool> m_returned{false};
    Clock::time_point m_returnedAt;
    bool m_result = true;
    std::pair<int, int> m_error;
};

void silence(uint32_t command, int records) {
    vstation::StreamScript silent;
    silent.ending = vstation::StreamEnding::Silent;
    silent.records = records;
    vstation::scriptStream(command, silent);
}

int ignore(std::string, void*) { return 0; }

TEST_F(WayOutTest, CancelEndsEveryStreamingOperationOnASilentStation) {
    EnrollmentStation::FingerPrintInfomation finger;
    finger.fingerPrintData = "kept";
    EnrollmentStation::FaceInformation face;
    face.faceData = "kept";
    std::vector<EnrollmentStation::SearchCaptureInfomation> results(2);
    int user = 0;
    const struct {
        const char* name;
        const char* property;
        uint32_t command;
        int records;
        std::function<bool()> operation;
    } cases[] = {
        {"finger", "finger", NET_DVR_CAPTURE_FINGERPRINT_INFO, 0,
         [&] { return station->captureFingerInfo(finger); }},
        {"face", "face", NET_DVR_CAPTURE_FACE_INFO, 0, [&] { return station->captureFaceInfo(face); }},
        {"list search", "listSearch", NET_DVR_SEARCH_CAPTURE_DATA, 1,
         [&] { return station->searchCaptureData(results); }},
        {"callback search", "callbackSearch", NET_DVR_SEARCH_CAPTURE_DATA, 1,
         [&] { return station->searchCaptureData(&ignore, &user); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        silence(c.command, c.records);
        start(c.operation);
        const auto cancelAt = Clock::now();
        EXPECT_TRUE(station->cancelCurrentOperation());
        expectEndedByCancel(cancelAt, "NET_DVR_StopRemoteConfig", c.property);
        EXPECT_FALSE(m_result);
        EXPECT_EQ(m_error, std::make_pair(69, 8207));
        EXPECT_EQ(vstation::openHandles().longConnections, 0);
    }
    EXPECT_EQ(finger.fingerPrintData, "kept");
    EXPECT_EQ(face.faceData, "kept");
    EXPECT_EQ(results.size(), 2u);  // the record that did arrive is not appended

    // Nothing runs: false, no code, and the next operation is not affected.
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(1, 2));
    EXPECT_FALSE(station->cancelCurrentOperation());
    EXPECT_EQ(lastError(), std::make_pair(1, 2));
    EXPECT_TRUE(station->captureFingerInfo(finger));
}

TEST_F(WayOutTest, CancelEndsAFileTransferAndClosesIt) {
    vstation::failTransferAt(vstation::TransferKind::Download, NET_DVR_TRANSFER_FAILED, 1 << 30);
    // Its own name: another build's run on the same machine may be at this test too.
    const std::string path = ::testing::TempDir() + "wayout-download-" + Kestro::Base::GuidUtil::CreateGuid() + ".bin";
    start([&] { return station->downloadFile(path); });
    const auto cancelAt = Clock::now();
    EXPECT_TRUE(station->cancelCurrentOperation());
    expectEndedByCancel(cancelAt, "NET_DVR_StopDownload", "download");
    EXPECT_FALSE(m_result);
    EXPECT_EQ(m_error, std::make_pair(69, 8207));
    EXPECT_EQ(vstation::openHandles().downloads, 0);
}

TEST_F(WayOutTest, TheStreamTimeOutLimitsEachWaitNotTheOperation) {
    station->setStreamTimeout(100);
    silence(NET_DVR_CAPTURE_FINGERPRINT_INFO, 0);
    EnrollmentStation::FingerPrintInfomation finger;
    auto from = Clock::now();
    EXPECT_FALSE(station->captureFingerInfo(finger));
    const auto took = Clock::now() - from;
    EXPECT_GE(took, milliseconds(100));
    EXPECT_LT(took, milliseconds(600));
    EXPECT_EQ(lastError(), std::make_pair(69, 8208));
    EXPECT_TRUE(logged("No report from the station for 100 ms, command[2504] ended."));
    EXPECT_EQ(vstation::openHandles().longConnections, 0);

    // Five reports 100 ms apart under a 300 ms limit: 500 ms in all, longer
    // than the limit, but never 300 ms of silence. Each wait has 200 ms to
    // spare for the station's report thread to get a core on a busy machine
    // (60 ms apart under 100 ms failed so under load).
    station->setStreamTimeout(300);
    vstation::StreamScript steady;
    steady.reportDelayMs = 100;
    vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, steady);
    EnrollmentStation::FaceInformation face;
    from = Clock::now();
    EXPECT_TRUE(station->captureFaceInfo(face));
    EXPECT_GT(Clock::now() - from, milliseconds(300));

    station->setStreamTimeout(0);
    EXPECT_TRUE(station->captureFingerInfo(finger));
}

// Counts the callback's calls, and those that came after the search returned.
struct LateCalls {
    std::atomic<int> calls{0};
    std::atomic<bool> returned{false};
    std::atomic<int> afterReturn{0};
    static int callback(std::string, void* user) {
        auto* self = static_cast<LateCalls*>(user);
        if (self->returned) ++self->afterReturn;
        ++self->calls;
        return 0;
    }
};

// The process of a callback-form search stays with the station object after
// the call; when its connection cannot be closed, the page the station was
// still answering arrives later and must not reach the callback.
TEST_F(WayOutTest, NoCallbackAfterACancelledSearchReturnedWhoseCloseFailed) {
    vstation::clearOfflineRecords();
    ASSERT_TRUE(vstation::addOfflineRecords(streamtest::people(50)));
    vstation::setPacing(true);  // each page takes its time: one is outstanding when the cancel comes
    vstation::failAlways("NET_DVR_StopRemoteConfig", NET_DVR_ERR_SEND);
    LateCalls late;
    std::thread search([&] {
        m_result = station->searchCaptureData(&LateCalls::callback, &late);
        late.returned = true;
    });
    // A page holds one record: once the station has been asked for more pages
    // than the callback has seen, one is asked for and not yet answered.
    while (late.calls < 2 || streamtest::callCount("NET_DVR_SendRemoteConfig") <= late.calls) {
        std::this_thread::sleep_for(milliseconds(1));
    }
    EXPECT_TRUE(station->cancelCurrentOperation());
    search.join();
    EXPECT_FALSE(m_result);
    // The outstanding answer arrives after the search returned and is dropped.
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!logged("Dropped a report of an ended job") && Clock::now() < deadline) {
        std::this_thread::sleep_for(milliseconds(5));
    }
    EXPECT_TRUE(logged("Dropped a report of an ended job"));
    EXPECT_EQ(late.afterReturn, 0);

    vstation::clearFaults();
    vstation::setPacing(false);
    station->uninitEnrollmentStation();
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(WayOutTest, LogoutAndDestructionEndARunningOperationFirst) {
    silence(NET_DVR_CAPTURE_FINGERPRINT_INFO, 0);
    EnrollmentStation::FingerPrintInfomation finger;
    start([&] { return station->captureFingerInfo(finger); });
    EXPECT_TRUE(station->uninitEnrollmentStation());
    m_thread.join();
    EXPECT_FALSE(m_result);
    // The last error is one for the process: the logout goes on once the
    // operation has ended, and its own last step (a second logout the SDK
    // refuses, 50-3) may land before the operation's thread reads the code.
    EXPECT_TRUE(m_error == std::make_pair(69, 8207) || m_error == std::make_pair(50, 3))
        << m_error.first << "-" << m_error.second;
    EXPECT_EQ(vstation::openHandles().total(), 0);

    // The object is usable again after a new login.
    ASSERT_TRUE(login(*station));
    EXPECT_TRUE(station->captureFingerInfo(finger));

    silence(NET_DVR_CAPTURE_FACE_INFO, 0);
    EnrollmentStation::FaceInformation face;
    start([&] { return station->captureFaceInfo(face); });
    station.reset();  // does not log out, but leaves no connection behind
    m_thread.join();
    EXPECT_FALSE(m_result);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

}  // namespace
