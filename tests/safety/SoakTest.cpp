// A thousand sessions, each logging in, running every operation of the
// library (a refused request, a stream time-out and a cancel among them) and
// logging out. Afterwards the station holds no handle, the process runs no
// extra thread, and the heap holds what it held after the warm-up.
//
// ES_SOAK_ROUNDS overrides the number of rounds. The heap figure needs
// GLIBC_TUNABLES=glibc.malloc.tcache_count=0 (CTest sets it; see exactHeap).
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "KestroBase/LogSink.h"
#include "ProcessGauges.h"
#include "StationTest.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"
#include "ZornNetSDK.h"

namespace {

using EnrollmentStation::CEnrollmentStation;
using Clock = std::chrono::steady_clock;

constexpr int kRecords = 4;
constexpr const char* kCardLine = "GET /OPRAL/AccessControl/CaptureCardInfo?format=json\r\n";
constexpr const char* kRefusal = R"({"statusCode": 4, "subStatusCode": "noCardPresented", "errorCode": 1610612737})";
// Heap growth allowed between the warm-up reading and the last: less than
// one allocation kept per round after the warm-up.
constexpr size_t kHeapSlack = 16 * 1024;

int rounds() {
    const char* text = std::getenv("ES_SOAK_ROUNDS");
    return text != nullptr ? std::atoi(text) : 1000;
}

std::vector<vstation::OfflineRecord> store() {
    std::vector<vstation::OfflineRecord> records(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        records[i].captureNo = i + 1;
        records[i].name = "Soak " + std::to_string(i);
        records[i].employeeNo = "S" + std::to_string(i);
        records[i].cardNoList = {"100" + std::to_string(i)};
        records[i].fingerprints = {{1, "AAEC"}};
        records[i].facePicture = "face";
    }
    return records;
}

void silence(uint32_t command) {
    vstation::StreamScript silent;
    silent.ending = vstation::StreamEnding::Silent;
    silent.records = 0;
    vstation::scriptStream(command, silent);
}

struct CallbackCount {
    int records = 0;
    int unreadable = 0;
};

int countDocument(std::string document, void* user) {
    auto* count = static_cast<CallbackCount*>(user);
    EnrollmentStation::SearchCaptureInfomation record;
    const auto status = CEnrollmentStation::readSearchDocument(document, record);
    if (status == EnrollmentStation::SearchDocumentStatus::More ||
        status == EnrollmentStation::SearchDocumentStatus::Last) {
        ++count->records;
    } else {
        ++count->unreadable;
    }
    return 0;
}

class SoakTest : public StationTest {
protected:
    void SetUp() override {
        m_exactHeap = gauges::exactHeap();
        StationTest::SetUp();
        // Level-3 traces are formatted, as in the field, and counted, not kept.
        kestro_standin::setLogSink([this](int, const std::string&, const std::string&) { ++m_lines; });
        // Named after the process: another build's run on the same machine
        // would otherwise remove them under this one.
        m_upload = ::testing::TempDir() + "soak-up-" + std::to_string(getpid()) + ".bin";
        m_download = ::testing::TempDir() + "soak-down-" + std::to_string(getpid()) + ".bin";
        std::ofstream(m_upload, std::ios::binary) << std::string(64 * 1024, 'u');
        ASSERT_TRUE(vstation::clearOfflineRecords());
        ASSERT_TRUE(vstation::addOfflineRecords(store()));
    }
    void TearDown() override {
        std::remove(m_upload.c_str());
        std::remove(m_download.c_str());
        StationTest::TearDown();
    }

    // One session; the name of the first step that went wrong, "" when none did.
    std::string round();

    bool m_exactHeap = false;
    std::atomic<long> m_lines{0};
    std::string m_upload;
    std::string m_download;
};

std::string SoakTest::round() {
    CEnrollmentStation station;
    station.setSDKLogPath(::testing::TempDir());
    long userId = -1;
    if (!station.initEnrollmentStation(estest::defaultLogin(), userId) || !station.isInit()) return "login";

    EnrollmentStation::CaptureAbility ability;
    if (!station.getDevCability(ability) || !ability.isSupportCaptureFace) return "getDevCability";
    EnrollmentStation::RFCardCap cap;
    if (!station.getRFCardCacheCap(cap)) return "getRFCardCacheCap";
    EnrollmentStation::RFCardParam cards;
    if (!station.getRFCardParam(cards) || !station.setRFCardParam(cards)) return "RF card parameters";
    std::string cardNo;
    if (!station.captureCardInfo(cardNo) || cardNo.empty()) return "captureCardInfo";
    EnrollmentStation::CaptureRuleInfo rule;
    rule.cardNoLen = 10;
    if (!station.setCaptureCardRule(rule)) return "setCaptureCardRule";
    EnrollmentStation::IdentityInfomation identity;
    if (!station.captureIDCardInfo(identity) || identity.IDCardNo.empty()) return "captureIDCardInfo";

    EnrollmentStation::FingerPrintInfomation finger;
    if (!station.captureFingerInfo(finger) || finger.fingerPrintData.empty()) return "captureFingerInfo";
    EnrollmentStation::FaceInformation face;
    if (!station.captureFaceInfo(face) || face.faceData.empty()) return "captureFaceInfo";
    std::vector<EnrollmentStation::SearchCaptureInfomation> results;
    if (!station.searchCaptureData(results) || results.size() != kRecords) return "list search";
    CallbackCount count;
    if (!station.searchCaptureData(&countDocument, &count) || count.records != kRecords || count.unreadable != 0) {
        return "callback search";
    }
    station.stopSearchCaptureData(true);

    EnrollmentStation::offLineRuleInfomation offlineRule;
    if (!station.setOfflineCaptureRule(offlineRule)) return "setOfflineCaptureRule";
    EnrollmentStation::UploadFailedDetailsInfomation details;
    if (!station.getUploadFailedDetails(details)) return "getUploadFailedDetails";
    EnrollmentStation::FaceParam param;
    param.enable = true;
    param.value = 70;
    EnrollmentStation::FaceParam back;
    if (!station.setFaceParam(param) || !station.getFaceParam(back) || back.value != 70) return "face parameters";
    int language = 0;
    if (!station.getDeviceLanguageType(language)) return "getDeviceLanguageType";
    if (!station.uploadFile(m_upload) || !station.downloadFile(m_download)) return "file transfer";

    // The ways a call ends early: a refusal, a silent station, a cancel.
    vstation::scriptStatus(kCardLine, kRefusal);
    EnrollmentStation::StationStatus status;
    if (station.captureCardInfo(cardNo) || lastError() != std::make_pair(68, 1610612737) ||
        !station.getLastStationStatus(status) || status.subStatusCode != "noCardPresented") {
        return "refused request";
    }
    station.setStreamTimeout(5);
    silence(NET_DVR_CAPTURE_FINGERPRINT_INFO);
    if (station.captureFingerInfo(finger) || lastError() != std::make_pair(69, 8208)) return "stream time-out";
    station.setStreamTimeout(0);
    if (station.cancelCurrentOperation()) return "cancel with nothing running";
    silence(NET_DVR_CAPTURE_FACE_INFO);
    bool collected = true;
    std::pair<int, int> code;
    std::thread collecting([&] {
        collected = station.captureFaceInfo(face);
        code = lastError();
    });
    while (vstation::openHandles().longConnections == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    const bool cancelled = station.cancelCurrentOperation();
    collecting.join();
    if (!cancelled || collected || code != std::make_pair(69, 8207)) return "cancel";

    if (!station.clearEnrollmentStationData()) return "clearEnrollmentStationData";
    if (!station.uninitEnrollmentStation()) return "logout";
    if (!vstation::addOfflineRecords(store())) return "refilling the store";
    return "";
}

TEST_F(SoakTest, AThousandSessionsLeaveNothingBehind) {
    ASSERT_TRUE(m_exactHeap) << "run with GLIBC_TUNABLES=glibc.malloc.tcache_count=0";
    const int total = rounds();
    const int warmUp = std::max(1, total / 10);
    const auto started = Clock::now();
    gauges::Reading warm;
    for (int i = 1; i <= total; ++i) {
        const std::string failed = round();
        ASSERT_EQ(failed, "") << "round " << i;
        ASSERT_EQ(vstation::openHandles().total(), 0) << "round " << i;
        if (i % 100 != 0 && i != warmUp) continue;
        const gauges::Reading reading = gauges::read();
        if (i == warmUp) warm = reading;
        std::cout << "round " << i << ": " << reading << std::endl;
    }
    const gauges::Reading end = gauges::read();
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::cout << total << " rounds in " << seconds << " s; " << m_lines << " log lines\n"
              << "after warm-up (round " << warmUp << "): " << warm << "\nat the end: " << end << std::endl;
    EXPECT_EQ(end.handles, 0);
    EXPECT_EQ(vstation::initCount(), 0);
    EXPECT_EQ(end.threads, warm.threads);
    EXPECT_LE(end.heapBytes, warm.heapBytes + kHeapSlack);
}

}  // namespace
