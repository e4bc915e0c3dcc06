#include "Endpoint.h"

#include <cerrno>
#include <cstdlib>

namespace vstation_tool {

bool parseEndpoint(const std::string& text, Endpoint* endpoint, std::string* why) {
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos) {
        *why = "'" + text + "' is not HOST:PORT";
        return false;
    }
    std::string host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const std::string port = text.substr(colon + 1);
    char* end = nullptr;
    errno = 0;
    const long value = port.empty() ? -1 : std::strtol(port.c_str(), &end, 10);
    if (port.empty() || *end != '\0' || errno != 0 || value < 0 || value > 65535) {
        *why = "'" + port + "' in '" + text + "' is not a port (0-65535)";
        return false;
    }
    endpoint->host = host.empty() ? "127.0.0.1" : host;
    endpoint->port = static_cast<uint16_t>(value);
    return true;
}

}  // namespace vstation_tool
