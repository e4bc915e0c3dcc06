#include "BaseSDK/TextEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace EnrollmentStation {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

}  // namespace

std::string hexText(const void* data, size_t length) {
    std::string text(length * 2, '\0');
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < length; ++i) {
        text[2 * i] = kHexDigits[bytes[i] >> 4];
        text[2 * i + 1] = kHexDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string base64Text(const void* data, size_t length) {
    // Encoded a block at a time on the stack and appended: a string sized
    // first would be zero-filled only to have every byte overwritten, twice
    // some 90 KB per search record.
    constexpr size_t kBlockGroups = 1024;
    char block[kBlockGroups * 4];
    std::string text;
    text.reserve((length + 2) / 3 * 4);
    const auto* in = static_cast<const uint8_t*>(data);
    size_t i = 0;
    while (i + 3 <= length) {
        const size_t groups = std::min(kBlockGroups, (length - i) / 3);
        char* out = block;
        for (const uint8_t* end = in + i + groups * 3; in + i != end; i += 3) {
            const uint32_t group = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
            *out++ = kBase64Alphabet[(group >> 18) & 0x3F];
            *out++ = kBase64Alphabet[(group >> 12) & 0x3F];
            *out++ = kBase64Alphabet[(group >> 6) & 0x3F];
            *out++ = kBase64Alphabet[group & 0x3F];
        }
        text.append(block, groups * 4);
    }
    const size_t rest = length - i;
    if (rest > 0) {
        uint32_t group = uint32_t{in[i]} << 16;
        if (rest == 2) group |= uint32_t{in[i + 1]} << 8;
        const char tail[4] = {kBase64Alphabet[(group >> 18) & 0x3F], kBase64Alphabet[(group >> 12) & 0x3F],
                              rest == 2 ? kBase64Alphabet[(group >> 6) & 0x3F] : '=', '='};
        text.append(tail, 4);
    }
    return text;
}

std::string textUpToNul(const char* buffer, size_t size) {
    if (!buffer) return std::string();
    const void* nul = std::memchr(buffer, 0, size);
    return std::string(buffer, nul ? static_cast<const char*>(nul) - buffer : size);
}

}  // namespace EnrollmentStation
