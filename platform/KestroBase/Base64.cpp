// Standard Base64 decoding of the base library stand-in.
//
// Strict: the text's length is a multiple of four, it holds only the 64
// alphabet characters, and "=" appears only as the last one or two characters
// of the text. Line breaks or blanks make the text malformed. Bits left over
// in the last character before the padding are ignored, as most decoders do.
#include <cstdint>
#include <utility>

#include "KestroBase.h"

namespace {

int sextet(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool decode(std::string& out, const std::string& in) {
    if (in.size() % 4 != 0) {
        return false;
    }
    size_t padding = 0;
    if (!in.empty() && in[in.size() - 1] == '=') {
        padding = (in[in.size() - 2] == '=') ? 2 : 1;
    }
    const size_t dataChars = in.size() - padding;
    out.reserve(in.size() / 4 * 3);
    uint32_t group = 0;
    for (size_t i = 0; i < dataChars; ++i) {
        const int value = sextet(static_cast<unsigned char>(in[i]));
        if (value < 0) {
            return false;  // also catches "=" in the middle
        }
        group = (group << 6) | static_cast<uint32_t>(value);
        if (i % 4 == 3) {
            out.push_back(static_cast<char>(group >> 16));
            out.push_back(static_cast<char>(group >> 8));
            out.push_back(static_cast<char>(group));
            group = 0;
        }
    }
    if (padding == 2) {  // two characters carry one byte
        out.push_back(static_cast<char>(group >> 4));
    } else if (padding == 1) {  // three characters carry two bytes
        out.push_back(static_cast<char>(group >> 10));
        out.push_back(static_cast<char>(group >> 2));
    }
    return true;
}

}  // namespace

namespace Kestro {
namespace Base {
namespace Encrypt {

bool Base64Decode(std::string& out, const std::string& in) {
    // Decoded apart first: `out` and `in` may be the same string.
    std::string bytes;
    const bool ok = decode(bytes, in);
    out = ok ? std::move(bytes) : std::string();
    return ok;
}

}  // namespace Encrypt
}  // namespace Base
}  // namespace Kestro
