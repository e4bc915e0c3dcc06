#include "StreamingSupport.h"

#include <cjson/cJSON.h>

#include <cstring>

#include "KestroBase.h"
#include "VirtualStation/StationControl.h"

namespace streamtest {

void LoggedInTest::SetUp() {
    StationTest::SetUp();
    station = std::make_unique<EnrollmentStation::CEnrollmentStation>();
    ASSERT_TRUE(login(*station));
    vstation::clearCallLog();
}

void LoggedInTest::TearDown() {
    if (station) station->uninitEnrollmentStation();
    station.reset();
    StationTest::TearDown();
}

std::vector<Page> sentPages() {
    std::vector<Page> pages;
    for (const vstation::CallRecord& call : vstation::callLog()) {
        if (call.call != "NET_DVR_SendRemoteConfig") continue;
        Page page;
        cJSON* root = cJSON_Parse(call.text.c_str());
        const cJSON* cond = cJSON_GetObjectItemCaseSensitive(root, "SearchTaskCond");
        const cJSON* id = cJSON_GetObjectItemCaseSensitive(cond, "searchID");
        if (cJSON_IsString(id)) page.searchId = id->valuestring;
        const cJSON* position = cJSON_GetObjectItemCaseSensitive(cond, "searchResultPosition");
        if (cJSON_IsNumber(position)) page.position = position->valueint;
        const cJSON* maxResults = cJSON_GetObjectItemCaseSensitive(cond, "maxResults");
        if (cJSON_IsNumber(maxResults)) page.maxResults = maxResults->valueint;
        cJSON_Delete(root);
        pages.push_back(page);
    }
    return pages;
}

std::vector<uint8_t> lastStartBlock() {
    std::vector<uint8_t> block;
    for (const vstation::CallRecord& call : vstation::callLog()) {
        if (call.call == "NET_DVR_StartRemoteConfig") block = call.record;
    }
    return block;
}

int callCount(const std::string& name) {
    int count = 0;
    for (const vstation::CallRecord& call : vstation::callLog()) count += call.call == name;
    return count;
}

std::chrono::steady_clock::time_point lastCallAt(const std::string& name) {
    std::chrono::steady_clock::time_point at;
    for (const vstation::CallRecord& call : vstation::callLog()) {
        if (call.call == name) at = call.at;
    }
    return at;
}

std::string base64Decoded(const std::string& text) {
    std::string bytes;
    Kestro::Base::Encrypt::Base64Decode(bytes, text);
    return bytes;
}

namespace {

uint32_t bigEndian(const std::string& bytes, size_t at) {
    return (uint32_t{static_cast<uint8_t>(bytes[at])} << 24) | (uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16) |
           (uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8) | uint32_t{static_cast<uint8_t>(bytes[at + 3])};
}

uint32_t crc32(const std::string& bytes, size_t from, size_t length) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = from; i < from + length; ++i) {
        c ^= static_cast<uint8_t>(bytes[i]);
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return c ^ 0xFFFFFFFFu;
}

// The data of stored deflate blocks, as the station writes them.
bool inflateStored(const std::string& zlib, std::string* raw) {
    if (zlib.size() < 6 || ((static_cast<uint8_t>(zlib[0]) << 8) | static_cast<uint8_t>(zlib[1])) % 31 != 0) return false;
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size()) return false;
        const uint8_t header = static_cast<uint8_t>(zlib[at]);
        last = header & 1;
        if ((header >> 1) != 0) return false;  // only stored blocks expected
        const uint16_t length = static_cast<uint16_t>(static_cast<uint8_t>(zlib[at + 1]) | static_cast<uint8_t>(zlib[at + 2]) << 8);
        const uint16_t check = static_cast<uint16_t>(static_cast<uint8_t>(zlib[at + 3]) | static_cast<uint8_t>(zlib[at + 4]) << 8);
        if (static_cast<uint16_t>(~length) != check || at + 5 + length > zlib.size()) return false;
        raw->append(zlib, at + 5, length);
        at += 5 + length;
    }
    uint32_t a = 1, b = 0;
    for (char c : *raw) {
        a = (a + static_cast<uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    return at + 4 == zlib.size() && bigEndian(zlib, at) == ((b << 16) | a);
}

}  // namespace

bool wellFormedPng(const std::string& bytes) {
    if (bytes.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) != 0) return false;
    std::string idat, first, last;
    uint32_t width = 0, height = 0, channels = 0;
    for (size_t at = 8; at < bytes.size();) {
        if (at + 12 > bytes.size()) return false;
        const uint32_t length = bigEndian(bytes, at);
        if (at + 12 + length > bytes.size()) return false;
        const std::string type = bytes.substr(at + 4, 4);
        if (crc32(bytes, at + 4, length + 4) != bigEndian(bytes, at + 8 + length)) return false;
        if (first.empty()) first = type;
        last = type;
        if (type == "IHDR") {
            width = bigEndian(bytes, at + 8);
            height = bigEndian(bytes, at + 12);
            channels = bytes[at + 17] == 2 ? 3 : 1;
        }
        if (type == "IDAT") idat += bytes.substr(at + 8, length);
        at += 12 + length;
    }
    std::string raw;
    return first == "IHDR" && last == "IEND" && inflateStored(idat, &raw) &&
           raw.size() == (static_cast<size_t>(width) * channels + 1) * height;
}

std::vector<vstation::OfflineRecord> people(int n) {
    std::vector<vstation::OfflineRecord> records;
    for (int i = 0; i < n; ++i) {
        vstation::OfflineRecord record;
        record.captureNo = i + 1;
        record.name = "P" + std::to_string(i);
        record.employeeNo = "E" + std::to_string(i);
        records.push_back(record);
    }
    return records;
}

}  // namespace streamtest
