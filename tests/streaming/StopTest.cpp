// Stopping a callback-form search, and lifetimes across the three threads
// (caller, worker, the station's report thread).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "StreamingSupport.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

using streamtest::LoggedInTest;

namespace {

using Clock = std::chrono::steady_clock;

class StopTest : public LoggedInTest {
protected:
    void SetUp() override {
        LoggedInTest::SetUp();
        vstation::clearOfflineRecords();
        vstation::addOfflineRecords(streamtest::people(50));
    }
};

// Counts records and lets a test wait for the first one.
struct Watcher {
    std::mutex mutex;
    std::condition_variable arrived;
    int records = 0;
    EnrollmentStation::CEnrollmentStation* stopFrom = nullptr;  // stop inside the callback
    int stopAfter = 0;

    static int callback(std::string, void* user) {
        auto* self = static_cast<Watcher*>(user);
        int count = 0;
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            count = ++self->records;
        }
        self->arrived.notify_all();
        if (self->stopFrom != nullptr && count == self->stopAfter) self->stopFrom->stopSearchCaptureData(true);
        return 0;
    }

    void waitForFirst() {
        std::unique_lock<std::mutex> lock(mutex);
        arrived.wait(lock, [this] { return records > 0; });
    }
};

TEST_F(StopTest, StopWakesASearchWhoseStationHasGoneSilent) {
    vstation::StreamScript silent;
    silent.ending = vstation::StreamEnding::Silent;
    silent.records = 1;
    vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, silent);

    Watcher watcher;
    std::atomic<bool> returned{false};
    bool result = false;
    Clock::time_point returnedAt;
    std::thread search([&] {
        result = station->searchCaptureData(&Watcher::callback, &watcher);
        returnedAt = Clock::now();
        returned = true;
    });
    watcher.waitForFirst();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned);

    const auto stopAt = Clock::now();
    station->stopSearchCaptureData(false);
    search.join();
    // The library's part: from the stop to the close it hands the station.
    // The close is the SDK's call and takes what it takes; the search returns
    // after it.
    const auto closeAt = streamtest::lastCallAt("NET_DVR_StopRemoteConfig");
    EXPECT_GT(closeAt, stopAt);
    EXPECT_LT(closeAt - stopAt, std::chrono::milliseconds(100));
    EXPECT_GE(returnedAt, closeAt);
    EXPECT_TRUE(result);
    EXPECT_EQ(watcher.records, 1);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(StopTest, StopFromInsideTheCallbackEndsTheSearch) {
    Watcher watcher;
    watcher.stopFrom = station.get();
    watcher.stopAfter = 3;
    EXPECT_TRUE(station->searchCaptureData(&Watcher::callback, &watcher));
    EXPECT_EQ(watcher.records, 3);
    EXPECT_EQ(streamtest::sentPages().size(), 3u);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);

    // A stop after the search has ended changes nothing for the next one.
    station->stopSearchCaptureData(true);
    Watcher next;
    EXPECT_TRUE(station->searchCaptureData(&Watcher::callback, &next));
    EXPECT_EQ(next.records, 50);
}

TEST_F(StopTest, StopWithoutSearchOrSession) {
    station->stopSearchCaptureData(true);
    EXPECT_EQ(lastError(), std::make_pair(0, 0));

    EnrollmentStation::CEnrollmentStation loggedOut;
    loggedOut.stopSearchCaptureData(false);
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
}

TEST_F(StopTest, StopsFromAnotherThreadRaceSafelyWithSearches) {
    std::atomic<bool> done{false};
    std::thread stopper([&] {
        while (!done) {
            station->stopSearchCaptureData(true);
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 20; ++i) {
        Watcher watcher;
        EXPECT_TRUE(station->searchCaptureData(&Watcher::callback, &watcher));
        EXPECT_LE(watcher.records, 50);
    }
    done = true;
    stopper.join();
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(StopTest, AStationObjectGoesRightAfterItsSearch) {
    for (int i = 0; i < 20; ++i) {
        auto local = std::make_unique<EnrollmentStation::CEnrollmentStation>();
        ASSERT_TRUE(login(*local));
        Watcher watcher;
        if (i % 2 == 0) {
            // Failure: its last document arrives while the worker is being woken.
            vstation::StreamScript failed;
            failed.ending = vstation::StreamEnding::Failed;
            failed.records = 1;
            vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, failed);
        }
        EXPECT_TRUE(local->searchCaptureData(&Watcher::callback, &watcher));
        local->uninitEnrollmentStation();
        local.reset();
    }
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(StopTest, CollectionsOnTwoObjectsRunSideBySide) {
    EnrollmentStation::CEnrollmentStation other;
    ASSERT_TRUE(login(other));
    EnrollmentStation::FingerPrintInfomation first, second;
    bool firstOk = false;
    std::thread worker([&] { firstOk = station->captureFingerInfo(first); });
    EXPECT_TRUE(other.captureFingerInfo(second));
    worker.join();
    EXPECT_TRUE(firstOk);
    EXPECT_EQ(first.fingerPrintData, second.fingerPrintData);
    other.uninitEnrollmentStation();
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

}  // namespace
