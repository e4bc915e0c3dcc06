// Helpers of the long-connection tests: a logged-in station, the pages the
// library sent, Base64 and PNG checks.
#ifndef ES_TESTS_STREAMINGSUPPORT_H
#define ES_TESTS_STREAMINGSUPPORT_H

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"
#include "StationTest.h"
#include "WaitClock.h"
#include "VirtualStation/Vocabulary.h"

namespace streamtest {

// A station object logged in to the built-in station.
class LoggedInTest : public StationTest {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<EnrollmentStation::CEnrollmentStation> station;
};

// While it lives, the library's waits (restart pauses, stream time-outs)
// last a hundredth of their nominal time.
class FastWaitClock final : public EnrollmentStation::IWaitClock {
public:
    static constexpr int kSpeedUp = 100;
    FastWaitClock() { EnrollmentStation::setWaitClock(this); }
    ~FastWaitClock() override { EnrollmentStation::setWaitClock(nullptr); }
    FastWaitClock(const FastWaitClock&) = delete;
    FastWaitClock& operator=(const FastWaitClock&) = delete;
    std::chrono::steady_clock::time_point deadlineAfter(std::chrono::milliseconds period) override {
        return std::chrono::steady_clock::now() + period / kSpeedUp;
    }
};

// One page request as the station received it.
struct Page {
    std::string searchId;
    int position = -1;
    int maxResults = -1;
};
std::vector<Page> sentPages();

// The input block of the last NET_DVR_StartRemoteConfig.
std::vector<uint8_t> lastStartBlock();

int callCount(const std::string& call);

// When the last call of that name came in; the clock's epoch when none did.
std::chrono::steady_clock::time_point lastCallAt(const std::string& call);

std::string base64Decoded(const std::string& text);

// Whether `bytes` is a well-formed PNG file: signature, chunk CRCs, an IHDR
// first and an IEND last, and image data whose zlib check sum matches.
bool wellFormedPng(const std::string& bytes);

// `n` simple records named "P0", "P1", ...
std::vector<vstation::OfflineRecord> people(int n);

}  // namespace streamtest

#endif  // ES_TESTS_STREAMINGSUPPORT_H
