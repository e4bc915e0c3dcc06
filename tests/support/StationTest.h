// StationTest: the base fixture of every test that drives the library
// against the virtual station.
//
// SetUp brings the station back to its built-in profile with pacing off,
// captures every log line of level 3 and up in memory (nothing reaches the
// console) and clears the last error to (0, 0). TearDown restores the log
// destination.
#ifndef ES_TESTS_STATIONTEST_H
#define ES_TESTS_STATIONTEST_H

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"

namespace estest {

// The account of the virtual station's built-in profile.
struct DefaultStation {
    static constexpr const char* kAddress = "127.0.0.1";
    static constexpr const char* kPort = "8000";
    static constexpr const char* kUser = "admin";
    static constexpr const char* kPassword = "Station#2026";
};

// A LoginParam for the built-in station.
EnrollmentStation::LoginParam defaultLogin();

// A profile of the built-in station with `extraKeys` (JSON members,
// comma-separated) added to its object.
std::string profileWith(const std::string& extraKeys);

// How many calls of that name the station logged since its log was cleared.
int callCount(const std::string& call);

// One captured log line.
struct LogLine {
    int level = 0;
    std::string module;
    std::string text;
};

class StationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Logs `station` in to the built-in station; the handle goes to `id`.
    bool login(EnrollmentStation::CEnrollmentStation& station, long* id = nullptr);

    // The base library's last error as (main, sub).
    std::pair<int, int> lastError() const;

    // Texts of the captured lines, all of them or those of one level.
    std::vector<std::string> logLines(int level = -1) const;
    // The captured lines with their level and module.
    std::vector<LogLine> logRecords() const;
    // Whether any captured line contains `substring`.
    bool logged(const std::string& substring) const;
    void clearLog();
};

}  // namespace estest

// Unqualified use in test files.
using estest::StationTest;

#endif  // ES_TESTS_STATIONTEST_H
