// Random (version 4) GUID text of the base library stand-in.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <random>
#include <thread>

#include "KestroBase.h"

namespace {

// One generator for the process, seeded once. Some platforms' random_device
// is weak or deterministic, so the clock and the thread are mixed in as well.
class GuidSource {
public:
    static GuidSource& instance() {
        static GuidSource source;
        return source;
    }

    void fill(uint8_t (&bytes)[16]) {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (int i = 0; i < 16; i += 8) {
            const uint64_t value = m_engine();
            for (int j = 0; j < 8; ++j) {
                bytes[i + j] = static_cast<uint8_t>(value >> (8 * j));
            }
        }
    }

private:
    GuidSource() {
        std::random_device device;
        const auto ticks = static_cast<uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        const auto thread = static_cast<uint64_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
        std::seed_seq seed{device(), device(), device(), device(),
                           device(), device(), device(), device(),
                           static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32),
                           static_cast<uint32_t>(thread), static_cast<uint32_t>(thread >> 32)};
        m_engine.seed(seed);
    }

    std::mutex m_mutex;
    std::mt19937_64 m_engine;
};

}  // namespace

namespace Kestro {
namespace Base {
namespace GuidUtil {

std::string CreateGuid() {
    uint8_t b[16];
    GuidSource::instance().fill(b);
    b[6] = static_cast<uint8_t>((b[6] & 0x0F) | 0x40);  // version 4
    b[8] = static_cast<uint8_t>((b[8] & 0x3F) | 0x80);  // variant 10xx
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0],
                  b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return std::string(text, 36);
}

}  // namespace GuidUtil
}  // namespace Base
}  // namespace Kestro
