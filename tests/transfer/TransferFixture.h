// Fixture of the face parameter, language and file transfer tests: a
// logged-in station, a private folder for local files, and call-log helpers.
#ifndef ES_TESTS_TRANSFER_TRANSFERFIXTURE_H
#define ES_TESTS_TRANSFER_TRANSFERFIXTURE_H

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "StationTest.h"
#include "VirtualStation/Vocabulary.h"

namespace estest {

class TransferTest : public StationTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Logs `station_` in; fails the test when it cannot.
    long loginStation();

    std::string pathOf(const std::string& name) const { return (folder_ / name).string(); }
    static void writeFile(const std::string& path, const std::string& bytes);
    static std::string readFile(const std::string& path);
    // Names of the entries of the test's folder, sorted.
    std::vector<std::string> folderEntries() const;

    // The last logged call of that name; fails the test when there is none.
    static vstation::CallRecord lastCall(const std::string& call);

    EnrollmentStation::CEnrollmentStation station_;
    std::filesystem::path folder_;
};

// Bytes 0..255 repeated, so that NULs, high bytes and line ends all travel.
std::string patternBytes(size_t size, unsigned seed = 0);

}  // namespace estest

using estest::TransferTest;
using estest::callCount;
using estest::patternBytes;
using estest::profileWith;

#endif  // ES_TESTS_TRANSFER_TRANSFERFIXTURE_H
