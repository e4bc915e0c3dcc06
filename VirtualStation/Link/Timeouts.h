// How long either side of the link waits for the other. One figure rules
// them all, so that client and station give up on each other alike: 5 s, or
// VSTATION_REPLY_TIMEOUT_MS (1 to 3600000 ms, read once per process; tests
// shorten it).
//
// Thread safety: pure functions; the variable is read once, thread-safely.
#ifndef VSTATION_LINK_TIMEOUTS_H
#define VSTATION_LINK_TIMEOUTS_H

#include <chrono>

namespace vstation {
namespace link {

constexpr std::chrono::milliseconds kDefaultLinkTimeout{5000};

// VSTATION_REPLY_TIMEOUT_MS when it is set to a valid figure, else 0.
std::chrono::milliseconds linkTimeoutFromEnvironment();
// The variable's figure, else kDefaultLinkTimeout.
std::chrono::milliseconds linkTimeout();
// How long an idle link stays quiet before the client asks the station for
// a sign of life: a third of linkTimeout(), so that the answer has the other
// two thirds to arrive before the link is given up.
std::chrono::milliseconds heartbeatInterval();

}  // namespace link
}  // namespace vstation

#endif  // VSTATION_LINK_TIMEOUTS_H
