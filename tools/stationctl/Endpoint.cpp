#include "Endpoint.h"

namespace stationctl {

static bool validPort(const std::string& port) {
    if (port.empty() || port.size() > 5) return false;
    for (char c : port) {
        if (c < '0' || c > '9') return false;
    }
    const long value = std::stol(port);
    return value >= 1 && value <= 65535;
}

bool parseEndpoint(const std::string& text, Endpoint& endpoint, std::string& error) {
    std::string host = text;
    std::string port = "8000";
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos) {
            error = "station " + text + ": missing ']'";
            return false;
        }
        host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                error = "station " + text + ": expected ':PORT' after ']'";
                return false;
            }
            port = rest.substr(1);
        }
    } else {
        const std::size_t colon = text.find(':');
        // More than one colon without brackets is a bare IPv6 address.
        if (colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
            host = text.substr(0, colon);
            port = text.substr(colon + 1);
        }
    }
    if (host.empty()) {
        error = "station " + text + ": no host";
        return false;
    }
    if (!validPort(port)) {
        error = "station " + text + ": port must be a number from 1 to 65535";
        return false;
    }
    endpoint.host = host;
    endpoint.port = port;
    return true;
}

}  // namespace stationctl
