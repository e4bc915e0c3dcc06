// Who may talk to the control page. A browser sends requests to any address
// a page it shows asks for, 127.0.0.1 included; the guard keeps other sites
// out of this one: a Host this server does not answer for (a name rebound
// to a loopback address) is refused, and so is a change sent from another
// origin or without a JSON body (what a foreign page can send without the
// server's consent).
//
// Thread safety: check() is const and may be called from any thread.
#ifndef VSTATION_TOOL_HTTP_REQUEST_GUARD_H
#define VSTATION_TOOL_HTTP_REQUEST_GUARD_H

#include <cstdint>
#include <string>
#include <vector>

namespace vstation_tool {

struct GuardedRequest {
    std::string method;
    const std::string* host = nullptr;    // null: no Host header
    const std::string* origin = nullptr;  // null: no Origin header
    std::string contentType;
};

class RequestGuard {
public:
    RequestGuard() = default;
    // The page listens on host:port (the port bound, not 0).
    RequestGuard(const std::string& host, uint16_t port);

    // 0 when the request may go on; otherwise the HTTP status to refuse it
    // with, and `why` in a few words.
    int check(const GuardedRequest& request, std::string* why) const;

private:
    std::vector<std::string> m_hosts;  // Host values accepted, lower case
};

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_HTTP_REQUEST_GUARD_H
