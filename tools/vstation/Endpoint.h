// "HOST:PORT" texts of the command line.
#ifndef VSTATION_TOOL_ENDPOINT_H
#define VSTATION_TOOL_ENDPOINT_H

#include <cstdint>
#include <string>

namespace vstation_tool {

struct Endpoint {
    std::string host;
    uint16_t port = 0;
    std::string text() const { return host + ":" + std::to_string(port); }
};

// "127.0.0.1:8000", "[::1]:8000" or ":8000" (loopback). Port 0 asks for any
// free port. False, with `why`, on anything else.
bool parseEndpoint(const std::string& text, Endpoint* endpoint, std::string* why);

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_ENDPOINT_H
