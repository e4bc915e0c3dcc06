// HOST[:PORT] as given to --station.
#ifndef STATIONCTL_ENDPOINT_H
#define STATIONCTL_ENDPOINT_H

#include <string>

namespace stationctl {

struct Endpoint {
    std::string host;
    std::string port;  // decimal text, 1 to 65535
};

// Accepts "host", "host:port", "[v6 address]" and "[v6 address]:port".
// The port is checked here so that the library never sees one it would throw on.
bool parseEndpoint(const std::string& text, Endpoint& endpoint, std::string& error);

}  // namespace stationctl

#endif  // STATIONCTL_ENDPOINT_H
