#include "TransferFixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include "VirtualStation/StationControl.h"

namespace estest {

void TransferTest::SetUp() {
    StationTest::SetUp();
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100 && folder_.empty(); ++attempt) {
        const auto candidate = base / ("es-transfer-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) folder_ = candidate.string();
    }
    ASSERT_FALSE(folder_.empty());
}

void TransferTest::TearDown() {
    station_.uninitEnrollmentStation();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    StationTest::TearDown();
}

long TransferTest::loginStation() {
    long id = -1;
    EXPECT_TRUE(login(station_, &id));
    return id;
}

void TransferTest::writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::string TransferTest::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> TransferTest::folderEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

vstation::CallRecord TransferTest::lastCall(const std::string& call) {
    const auto log = vstation::callLog();
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
        if (it->call == call) return *it;
    }
    ADD_FAILURE() << "no call of " << call;
    return vstation::CallRecord();
}

std::string patternBytes(size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + seed + i / 256) & 0xFF);
    return bytes;
}

}  // namespace estest
