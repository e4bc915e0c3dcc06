// The virtual station's long connections seen through the SDK calls alone:
// strict input blocks and pages, report threads, closing from anywhere.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "StreamingSupport.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

namespace {

constexpr const char* kSearchLine = "POST /OPRAL/AccessControl/OfflineCapture/DataCollections/searchTask?format=json\r\n";

// What a connection reported, and on which thread.
struct Reports {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<uint32_t> types;
    std::vector<uint32_t> statuses;
    std::vector<std::thread::id> threads;
    int32_t stopHandle = -1;  // stopped from inside the first report when set
    bool stopResult = false;

    static void ZORN_CALL callback(uint32_t type, void* buffer, uint32_t length, void* user) {
        auto* self = static_cast<Reports*>(user);
        int32_t stop = -1;
        {
            std::lock_guard<std::mutex> lock(self->mutex);
            std::swap(stop, self->stopHandle);
        }
        const bool stopped = stop >= 0 && NET_DVR_StopRemoteConfig(stop) != 0;
        std::lock_guard<std::mutex> lock(self->mutex);
        if (stop >= 0) self->stopResult = stopped;
        self->types.push_back(type);
        uint32_t status = 0;
        if (type == NET_SDK_CALLBACK_TYPE_STATUS && length >= 4) std::memcpy(&status, buffer, 4);
        self->statuses.push_back(status);
        self->threads.push_back(std::this_thread::get_id());
        self->changed.notify_all();
    }

    bool waitFor(size_t count) {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return types.size() >= count; });
    }
};

class StationStreamTest : public StationTest {
protected:
    void SetUp() override {
        StationTest::SetUp();
        NET_DVR_Init();
        EnrollmentStation::LoginParam param = estest::defaultLogin();
        NET_DVR_USER_LOGIN_INFO info{};
        std::memcpy(info.sDeviceAddress, param.deviceAddress.data(), param.deviceAddress.size());
        info.wPort = 8000;
        std::memcpy(info.sUserName, param.userName.data(), param.userName.size());
        std::memcpy(info.sPassword, param.password.data(), param.password.size());
        info.byLoginMode = 2;
        NET_DVR_DEVICEINFO_V40 device{};
        userId = NET_DVR_Login_V40(&info, &device);
        ASSERT_GE(userId, 0);
    }
    void TearDown() override {
        NET_DVR_Cleanup();
        StationTest::TearDown();
    }

    int32_t start(uint32_t command, void* block, uint32_t length, Reports* reports) {
        return NET_DVR_StartRemoteConfig(userId, command, block, length, &Reports::callback, reports);
    }

    int32_t startSearch(Reports* reports) {
        std::string line = kSearchLine;
        return start(NET_DVR_SEARCH_CAPTURE_DATA, &line[0], static_cast<uint32_t>(line.size() + 1), reports);
    }

    int32_t userId = -1;
};

TEST_F(StationStreamTest, InputBlocksAreCheckedStrictly) {
    Reports reports;
    NET_DVR_CAPTURE_FINGERPRINT_COND finger{};
    finger.dwSize = sizeof(finger);
    finger.byFingerPrintID = 1;
    const auto fails = [&](uint32_t command, void* block, uint32_t length, int32_t error) {
        EXPECT_EQ(start(command, block, length, &reports), -1);
        EXPECT_EQ(NET_DVR_GetLastError(), error);
    };
    fails(NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger) - 1, NET_DVR_ERR_PARAMETER);
    finger.byRes[3] = 1;  // a reserved byte set: the block was not zeroed
    fails(NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger), NET_DVR_ERR_PARAMETER);
    finger.byRes[3] = 0;
    finger.byFingerPrintID = 0;
    fails(NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger), NET_DVR_ERR_PARAMETER);
    finger.byFingerPrintID = 1;
    finger.dwSize = 128;
    fails(NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger), NET_DVR_ERR_PARAMETER);

    NET_DVR_CAPTURE_FACE_COND face{};
    fails(NET_DVR_CAPTURE_FACE_INFO, &face, sizeof(face), NET_DVR_ERR_PARAMETER);  // size word 0

    std::string line = kSearchLine;
    fails(NET_DVR_SEARCH_CAPTURE_DATA, &line[0], static_cast<uint32_t>(line.size()), NET_DVR_ERR_PARAMETER);
    std::string other = "GET /OPRAL/AccessControl/Other?format=json\r\n";
    fails(NET_DVR_SEARCH_CAPTURE_DATA, &other[0], static_cast<uint32_t>(other.size() + 1), NET_DVR_ERR_NOT_SUPPORTED);
    fails(2999, &finger, sizeof(finger), NET_DVR_ERR_NOT_SUPPORTED);
    EXPECT_EQ(NET_DVR_StartRemoteConfig(userId + 100, NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger),
                                        &Reports::callback, &reports),
              -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_USER_ID);
    EXPECT_EQ(NET_DVR_StartRemoteConfig(userId, NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger), nullptr,
                                        &reports),
              -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(StationStreamTest, PagesAreCheckedAndHandlesCloseOnce) {
    Reports reports;
    const int32_t handle = startSearch(&reports);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(vstation::openHandles().longConnections, 1);

    std::string page = R"({"SearchTaskCond": {"searchID": "S", "searchResultPosition": 0, "maxResults": 1}})";
    EXPECT_EQ(NET_DVR_SendRemoteConfig(handle, 3, &page[0], static_cast<uint32_t>(page.size())), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_SUPPORTED);
    std::string broken = R"({"SearchTaskCond": {"searchID": "", "searchResultPosition": 0, "maxResults": 1}})";
    EXPECT_EQ(NET_DVR_SendRemoteConfig(handle, 11, &broken[0], static_cast<uint32_t>(broken.size())), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(NET_DVR_SendRemoteConfig(handle, 11, &page[0], 10), 0);  // cut mid-text
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);

    EXPECT_NE(NET_DVR_SendRemoteConfig(handle, 11, &page[0], static_cast<uint32_t>(page.size())), 0);
    ASSERT_TRUE(reports.waitFor(1));
    EXPECT_EQ(reports.types[0], NET_SDK_CALLBACK_TYPE_DATA);
    EXPECT_NE(reports.threads[0], std::this_thread::get_id());

    EXPECT_NE(NET_DVR_StopRemoteConfig(handle), 0);
    EXPECT_EQ(NET_DVR_StopRemoteConfig(handle), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_HANDLE);
    EXPECT_EQ(NET_DVR_SendRemoteConfig(handle, 11, &page[0], static_cast<uint32_t>(page.size())), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_HANDLE);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(StationStreamTest, ReportsComeInOrderOnTheConnectionsOwnThread) {
    vstation::StreamScript three;
    three.records = 3;
    vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, three);
    Reports reports;
    NET_DVR_CAPTURE_FACE_COND face{};
    face.dwSize = sizeof(face);
    const int32_t handle = start(NET_DVR_CAPTURE_FACE_INFO, &face, sizeof(face), &reports);
    ASSERT_GE(handle, 0);
    // Three times: four progress reports and the complete one; then finished.
    ASSERT_TRUE(reports.waitFor(16));
    EXPECT_EQ(reports.types.back(), NET_SDK_CALLBACK_TYPE_STATUS);
    EXPECT_EQ(reports.statuses.back(), NET_SDK_CALLBACK_STATUS_SUCCESS);
    for (size_t i = 0; i < 15; ++i) EXPECT_EQ(reports.types[i], NET_SDK_CALLBACK_TYPE_DATA);
    for (const std::thread::id& thread : reports.threads) EXPECT_EQ(thread, reports.threads[0]);
    EXPECT_NE(reports.threads[0], std::this_thread::get_id());
    EXPECT_NE(NET_DVR_StopRemoteConfig(handle), 0);
}

TEST_F(StationStreamTest, AReportMayCloseItsOwnConnection) {
    Reports reports;
    NET_DVR_CAPTURE_FINGERPRINT_COND finger{};
    finger.dwSize = sizeof(finger);
    finger.byFingerPrintID = 2;
    {
        std::lock_guard<std::mutex> lock(reports.mutex);
        const int32_t handle = start(NET_DVR_CAPTURE_FINGERPRINT_INFO, &finger, sizeof(finger), &reports);
        ASSERT_GE(handle, 0);
        reports.stopHandle = handle;
    }
    ASSERT_TRUE(reports.waitFor(1));
    // The status that was queued behind the data report is never delivered.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(reports.stopResult);
    EXPECT_EQ(reports.types.size(), 1u);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(StationStreamTest, LogoutAndCleanUpCloseWhatIsLeftOpen) {
    Reports reports;
    vstation::StreamScript silent;
    silent.ending = vstation::StreamEnding::Silent;
    vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, silent);
    ASSERT_GE(startSearch(&reports), 0);
    ASSERT_GE(startSearch(&reports), 0);
    EXPECT_EQ(vstation::openHandles().longConnections, 2);
    EXPECT_NE(NET_DVR_Logout_V30(userId), 0);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

}  // namespace
