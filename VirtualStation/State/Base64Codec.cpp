#include "State/Base64Codec.h"

#include <cstdint>
#include <utility>

namespace vstation {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string base64Encode(const std::string& bytes) {
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    const auto byte = [&bytes](size_t at) { return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])); };
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t group = (byte(i) << 16) | (byte(i + 1) << 8) | byte(i + 2);
        for (int shift = 18; shift >= 0; shift -= 6) text.push_back(kAlphabet[(group >> shift) & 0x3F]);
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        const uint32_t group = (byte(i) << 16) | (rest == 2 ? byte(i + 1) << 8 : 0);
        text.push_back(kAlphabet[(group >> 18) & 0x3F]);
        text.push_back(kAlphabet[(group >> 12) & 0x3F]);
        text.push_back(rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=');
        text.push_back('=');
    }
    return text;
}

bool base64Decode(const std::string& text, std::string* bytes) {
    if (text.size() % 4 != 0) return false;
    size_t padding = 0;
    if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
    std::string out;
    out.reserve(text.size() / 4 * 3);
    uint32_t group = 0;
    for (size_t i = 0; i < text.size() - padding; ++i) {
        const int value = sextet(text[i]);
        if (value < 0) return false;
        group = (group << 6) | static_cast<uint32_t>(value);
        if (i % 4 == 3) {
            out.push_back(static_cast<char>(group >> 16));
            out.push_back(static_cast<char>(group >> 8));
            out.push_back(static_cast<char>(group));
            group = 0;
        }
    }
    if (padding == 2) out.push_back(static_cast<char>(group >> 4));
    if (padding == 1) {
        out.push_back(static_cast<char>(group >> 10));
        out.push_back(static_cast<char>(group >> 2));
    }
    *bytes = std::move(out);
    return true;
}

}  // namespace vstation
