#include "Link/Timeouts.h"

#include <algorithm>
#include <cstdlib>

namespace vstation {
namespace link {

namespace {
// The longest figure taken: an hour.
constexpr long kLongestMs = 3600L * 1000;
}  // namespace

std::chrono::milliseconds linkTimeoutFromEnvironment() {
    static const long ms = [] {
        const char* value = std::getenv("VSTATION_REPLY_TIMEOUT_MS");
        if (!value || !*value) return 0L;
        char* end = nullptr;
        const long parsed = std::strtol(value, &end, 10);
        return *end == '\0' && parsed > 0 && parsed <= kLongestMs ? parsed : 0L;
    }();
    return std::chrono::milliseconds(ms);
}

std::chrono::milliseconds linkTimeout() {
    const std::chrono::milliseconds set = linkTimeoutFromEnvironment();
    return set.count() > 0 ? set : kDefaultLinkTimeout;
}

std::chrono::milliseconds heartbeatInterval() { return std::max(linkTimeout() / 3, std::chrono::milliseconds(1)); }

}  // namespace link
}  // namespace vstation
