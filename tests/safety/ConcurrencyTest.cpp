// 32 stations in one process, each driven by its own thread through both
// search forms and both collections for a minute, while another thread
// cancels operations at random and silent connections run into the stream
// time-out. Every result must come from the station that was asked, every
// failure must be a cancel or a time-out, and nothing may be left open.
//
// ES_CONCURRENCY_SECONDS overrides the minute. The heap figure needs
// GLIBC_TUNABLES=glibc.malloc.tcache_count=0 (CTest sets it; see exactHeap).
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "KestroBase.h"
#include "KestroBase/LogSink.h"
#include "ProcessGauges.h"
#include "StationTest.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"
#include "ZornNetSDK.h"

namespace {

using EnrollmentStation::CEnrollmentStation;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kStations = 32;
constexpr int kRecords = 3;
constexpr int kTimeoutMs = 250;
// One operation in this many first scripts a silent connection for its
// command, which whichever station opens the next one of them meets.
constexpr int kSilentOneIn = 32;
// The canceller reaches a random station this often.
constexpr milliseconds kCancelEvery{20};
// Heap allowed to remain after logout: what 32 logins leave in tables that
// keep their size (about 6 KiB), far less than a block per operation.
constexpr size_t kHeapSlack = 32 * 1024;

enum Kind { ListSearch, CallbackSearch, Finger, Face, kKinds };
const char* const kKindNames[kKinds] = {"list search", "callback search", "fingerprint", "face"};
const uint32_t kKindCommand[kKinds] = {NET_DVR_SEARCH_CAPTURE_DATA, NET_DVR_SEARCH_CAPTURE_DATA,
                                       NET_DVR_CAPTURE_FINGERPRINT_INFO, NET_DVR_CAPTURE_FACE_INFO};

std::chrono::seconds duration() {
    const char* text = std::getenv("ES_CONCURRENCY_SECONDS");
    return std::chrono::seconds(text != nullptr ? std::atoi(text) : 60);
}

std::string address(int station) { return "10.17.0." + std::to_string(station + 1); }
// What every sample and record of a station carries: "S07" for station 7.
std::string mark(int station) { return (station < 10 ? "S0" : "S") + std::to_string(station); }

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    for (unsigned char c : bytes) {
        text += digits[c >> 4];
        text += digits[c & 15];
    }
    return text;
}

std::string base64Decoded(const std::string& text) {
    std::string bytes;
    Kestro::Base::Encrypt::Base64Decode(bytes, text);
    return bytes;
}

std::string profile() {
    std::string stations;
    for (int i = 0; i < kStations; ++i) {
        if (i > 0) stations += ", ";
        stations += R"({"address": ")" + address(i) + R"(", "port": 8000, "accounts": [{"userName": "admin", )"
                    R"("password": "Station#2026"}]})";
    }
    return R"({"stations": [)" + stations + "]}";
}

// Gives station `i` samples and records that name it.
bool furnish(int i) {
    vstation::FingerprintSample finger;
    finger.templateBytes = mark(i);
    finger.quality = 50;
    vstation::FaceSample face;
    face.template1 = mark(i);
    face.template1Quality = 60;
    face.picture = "face of " + mark(i);
    face.pictureQuality = 70;
    face.progressReports = 1;
    std::vector<vstation::OfflineRecord> records(kRecords);
    for (int r = 0; r < kRecords; ++r) {
        records[r].captureNo = r + 1;
        records[r].name = mark(i) + "-P" + std::to_string(r);
        records[r].employeeNo = mark(i) + "-E" + std::to_string(r);
        // Base64 of the station's mark: three bytes, four characters.
        std::string text;
        const std::string bytes = mark(i);
        static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const uint32_t n = (uint32_t{static_cast<uint8_t>(bytes[0])} << 16) |
                           (uint32_t{static_cast<uint8_t>(bytes[1])} << 8) | static_cast<uint8_t>(bytes[2]);
        for (int shift = 18; shift >= 0; shift -= 6) text += alphabet[(n >> shift) & 63];
        records[r].fingerprints = {{1, text}};
    }
    const std::string at = address(i);
    return vstation::setFingerprintSample(finger, at) && vstation::setFaceSample(face, at) &&
           vstation::clearOfflineRecords(at) && vstation::addOfflineRecords(records, at);
}

// What one station's thread saw.
struct Tally {
    std::array<int, kKinds> succeeded{};
    std::atomic<int> cancelled{0};  // failed with (69, 8207)
    int timedOut = 0;           // failed with (69, 8208)
    int timedOutTooSoon = 0;    // ... before the time-out had passed
    std::array<int, kKinds> timedOutBy{};
    std::vector<std::string> faults;  // anything else, described
    std::atomic<int> cancelsLanded{0};  // cancelCurrentOperation answered true
};

// Whether a search record belongs to station `i`.
bool own(const EnrollmentStation::SearchCaptureInfomation& record, int i) {
    if (record.dataCollectList.size() != 1) return false;
    const EnrollmentStation::DataCollectInfomation& person = record.dataCollectList[0];
    return person.name.rfind(mark(i) + "-", 0) == 0 && person.fingerprintList.size() == 1 &&
           person.fingerprintList[0].fingerprint == hex(mark(i));
}

struct CallbackSeen {
    int station = 0;
    int records = 0;
    int foreign = 0;
};

int seeDocument(std::string document, void* user) {
    auto* seen = static_cast<CallbackSeen*>(user);
    EnrollmentStation::SearchCaptureInfomation record;
    const auto status = CEnrollmentStation::readSearchDocument(document, record);
    if (status == EnrollmentStation::SearchDocumentStatus::More ||
        status == EnrollmentStation::SearchDocumentStatus::Last) {
        ++seen->records;
        if (!own(record, seen->station)) ++seen->foreign;
    } else {
        ++seen->foreign;
    }
    return 0;
}

class ConcurrencyTest : public StationTest {
protected:
    void SetUp() override {
        m_exactHeap = gauges::exactHeap();
        StationTest::SetUp();
        kestro_standin::setLogSink(nullptr);
        kestro_standin::setLogLevel(6);  // nothing: 32 stations' traces are not the subject
    }

    // Runs one operation of `kind` on station `i`; an empty text when it
    // succeeded with the station's own data, else what was wrong.
    std::string run(int i, Kind kind, CEnrollmentStation& station, Tally& tally);

    bool m_exactHeap = false;
};

std::string ConcurrencyTest::run(int i, Kind kind, CEnrollmentStation& station, Tally& tally) {
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0));
    bool ok = false;
    std::string wrong;
    const auto from = Clock::now();
    switch (kind) {
        case ListSearch: {
            std::vector<EnrollmentStation::SearchCaptureInfomation> results;
            ok = station.searchCaptureData(results);
            if (ok && results.size() != kRecords) wrong = std::to_string(results.size()) + " records";
            for (const auto& record : results) {
                if (!own(record, i)) wrong = "a record of another station";
            }
            if (!ok && !results.empty()) wrong = "records appended by a failed search";
            break;
        }
        case CallbackSearch: {
            CallbackSeen seen;
            seen.station = i;
            ok = station.searchCaptureData(&seeDocument, &seen);
            if (ok && seen.records != kRecords) wrong = std::to_string(seen.records) + " documents";
            if (seen.foreign != 0) wrong = "a document of another station";
            break;
        }
        case Finger: {
            EnrollmentStation::FingerPrintInfomation finger;
            ok = station.captureFingerInfo(finger);
            if (ok && finger.fingerPrintData.rfind(hex(mark(i)), 0) != 0) {
                wrong = "fingerprint " + finger.fingerPrintData.substr(0, 6);
            }
            break;
        }
        case Face: {
            EnrollmentStation::FaceInformation face;
            ok = station.captureFaceInfo(face);
            if (ok && base64Decoded(face.faceTemplate1) != mark(i)) wrong = "face of " + face.faceTemplate1;
            break;
        }
        default:
            break;
    }
    const auto took = Clock::now() - from;
    if (ok) {
        if (wrong.empty()) ++tally.succeeded[kind];
        return wrong;
    }
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    if (code.iMainCode == 69 && code.iSubCode == 8207) {
        ++tally.cancelled;
    } else if (code.iMainCode == 69 && code.iSubCode == 8208) {
        ++tally.timedOut;
        ++tally.timedOutBy[kind];
        if (took < milliseconds(kTimeoutMs)) ++tally.timedOutTooSoon;
    } else {
        wrong += " failed with (" + std::to_string(code.iMainCode) + ", " + std::to_string(code.iSubCode) + ")";
    }
    return wrong;
}

TEST_F(ConcurrencyTest, ThirtyTwoStationsKeepTheirOwnRecordsUnderCancelsAndTimeOuts) {
    ASSERT_TRUE(m_exactHeap) << "run with GLIBC_TUNABLES=glibc.malloc.tcache_count=0";
    ASSERT_TRUE(vstation::loadProfile(profile()));
    for (int i = 0; i < kStations; ++i) ASSERT_TRUE(furnish(i)) << address(i);
    const gauges::Reading before = gauges::read();

    std::vector<std::unique_ptr<CEnrollmentStation>> stations;
    for (int i = 0; i < kStations; ++i) {
        stations.push_back(std::make_unique<CEnrollmentStation>());
        EnrollmentStation::LoginParam login = estest::defaultLogin();
        login.deviceAddress = address(i);
        long userId = -1;
        ASSERT_TRUE(stations.back()->initEnrollmentStation(login, userId)) << address(i);
        stations.back()->setStreamTimeout(kTimeoutMs);
    }

    std::array<Tally, kStations> tallies;
    std::array<std::atomic<int>, 3> silentScripted{};  // by command: search, fingerprint, face
    auto commandIndex = [](uint32_t command) {
        return command == NET_DVR_SEARCH_CAPTURE_DATA ? 0 : command == NET_DVR_CAPTURE_FINGERPRINT_INFO ? 1 : 2;
    };
    std::atomic<bool> stop{false};
    const auto started = Clock::now();
    const auto ends = started + duration();

    std::vector<std::thread> workers;
    for (int i = 0; i < kStations; ++i) {
        workers.emplace_back([&, i] {
            std::mt19937 random(static_cast<unsigned>(i) * 7919u + 1u);
            for (int n = 0; !stop; ++n) {
                const Kind kind = static_cast<Kind>(random() % kKinds);
                if (random() % kSilentOneIn == 0) {
                    vstation::StreamScript silent;
                    silent.ending = vstation::StreamEnding::Silent;
                    silent.records = 0;
                    vstation::scriptStream(kKindCommand[kind], silent);
                    ++silentScripted[commandIndex(kKindCommand[kind])];
                }
                const std::string wrong = run(i, kind, *stations[i], tallies[i]);
                if (!wrong.empty()) tallies[i].faults.push_back(std::string(kKindNames[kind]) + ": " + wrong);
            }
        });
    }
    std::thread canceller([&] {
        std::mt19937 random(2026);
        while (Clock::now() < ends) {
            std::this_thread::sleep_for(kCancelEvery);
            const int i = static_cast<int>(random() % kStations);
            // Not again until the last cancel that answered true has ended its
            // operation: two cancels of one operation both answer true.
            if (tallies[i].cancelsLanded != tallies[i].cancelled) continue;
            if (stations[i]->cancelCurrentOperation()) ++tallies[i].cancelsLanded;
        }
    });
    canceller.join();
    stop = true;
    for (std::thread& worker : workers) worker.join();
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();

    for (auto& station : stations) EXPECT_TRUE(station->uninitEnrollmentStation());
    stations.clear();
    vstation::clearStreamScripts();
    const gauges::Reading after = gauges::read();

    int operations = 0, cancelled = 0, cancelsLanded = 0;
    std::array<int, kKinds> timedOutBy{};
    std::array<int, kKinds> succeeded{};
    for (int i = 0; i < kStations; ++i) {
        SCOPED_TRACE(address(i));
        Tally& t = tallies[i];
        for (const std::string& fault : t.faults) ADD_FAILURE() << fault;
        EXPECT_EQ(t.cancelled.load(), t.cancelsLanded.load()) << "every cancel that answered true ended its operation";
        EXPECT_EQ(t.timedOutTooSoon, 0);
        for (int k = 0; k < kKinds; ++k) {
            EXPECT_GT(t.succeeded[k], 0) << kKindNames[k];
            succeeded[k] += t.succeeded[k];
            timedOutBy[k] += t.timedOutBy[k];
            operations += t.succeeded[k] + t.timedOutBy[k];
        }
        operations += t.cancelled + static_cast<int>(t.faults.size());
        cancelled += t.cancelled;
        cancelsLanded += t.cancelsLanded;
    }
    // A silent connection ends by the time-out or by a cancel, never otherwise.
    EXPECT_LE(timedOutBy[ListSearch] + timedOutBy[CallbackSearch], silentScripted[0].load());
    EXPECT_LE(timedOutBy[Finger], silentScripted[1].load());
    EXPECT_LE(timedOutBy[Face], silentScripted[2].load());
    EXPECT_GT(cancelled, 0);
    EXPECT_GT(timedOutBy[0] + timedOutBy[1] + timedOutBy[2] + timedOutBy[3], 0);

    std::cout << kStations << " stations for " << seconds << " s: " << operations << " operations; succeeded "
              << succeeded[ListSearch] << " list searches, " << succeeded[CallbackSearch] << " callback searches, "
              << succeeded[Finger] << " fingerprints, " << succeeded[Face] << " faces; " << cancelled
              << " cancelled (" << cancelsLanded << " cancels answered true); "
              << timedOutBy[0] + timedOutBy[1] + timedOutBy[2] + timedOutBy[3] << " timed out of "
              << silentScripted[0] + silentScripted[1] + silentScripted[2] << " silent connections scripted\n"
              << "before login: " << before << "\nafter logout: " << after << std::endl;
    EXPECT_EQ(after.handles, 0);
    EXPECT_EQ(vstation::initCount(), 0);
    EXPECT_EQ(after.threads, before.threads);
    EXPECT_LE(after.heapBytes, before.heapBytes + kHeapSlack);
}

}  // namespace
