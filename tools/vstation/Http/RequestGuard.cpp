#include "Http/RequestGuard.h"

#include <algorithm>
#include <cctype>

#include "Link/Socket.h"

namespace vstation_tool {

namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// How a Host header spells host:port; browsers leave out port 80.
void addHost(std::string host, uint16_t port, std::vector<std::string>* hosts) {
    if (host.find(':') != std::string::npos) host = "[" + host + "]";
    host = lower(host);
    hosts->push_back(host + ":" + std::to_string(port));
    if (port == 80) hosts->push_back(host);
}

bool changes(const std::string& method) {
    return method == "POST" || method == "PUT" || method == "PATCH" || method == "DELETE";
}

bool hasBody(const std::string& method) { return method == "POST" || method == "PUT" || method == "PATCH"; }

}  // namespace

RequestGuard::RequestGuard(const std::string& host, uint16_t port) {
    addHost(host, port, &m_hosts);
    // The loopback names reach the same socket; so do they when it listens
    // on every address.
    if (vstation::link::isLoopback(host) || host == "0.0.0.0" || host == "::") {
        for (const char* name : {"localhost", "127.0.0.1", "::1"}) addHost(name, port, &m_hosts);
    }
}

int RequestGuard::check(const GuardedRequest& request, std::string* why) const {
    // 421 (Misdirected Request) says what is wrong: the request was meant for
    // another name, which this server does not answer for. A page that
    // rebinds its own name to this address gets nothing back from it.
    if (!request.host) {
        *why = "the request names no Host";
        return 421;
    }
    const std::string host = lower(*request.host);
    if (std::find(m_hosts.begin(), m_hosts.end(), host) == m_hosts.end()) {
        *why = "this server does not answer for Host " + *request.host;
        return 421;
    }
    if (!changes(request.method)) return 0;
    // Browsers name the origin of every change they send on a page's behalf;
    // only the page itself (same scheme, name and port) may change the station.
    if (request.origin && lower(*request.origin) != "http://" + host) {
        *why = "changes from " + *request.origin + " are refused";
        return 403;
    }
    // A foreign page may post forms and plain text without asking; a JSON
    // body it can send only with this server's consent, which is never given.
    if (hasBody(request.method) && lower(request.contentType).compare(0, 16, "application/json") != 0) {
        *why = "the body must be sent as application/json";
        return 415;
    }
    return 0;
}

}  // namespace vstation_tool
