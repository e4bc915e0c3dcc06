// The station's side of the configuration protocol: one request line with an
// optional JSON body in, one answer out.
//
// Thread safety: serveConfigRequest may run on any thread; handlers lock the
// station's mutex while they touch its state and never call out holding it.
#ifndef VSTATION_CONFIGSERVER_H
#define VSTATION_CONFIGSERVER_H

#include <string>

namespace vstation {

struct Station;

// What the station answers. A reply goes to the caller's reply buffer; a
// failed request puts a status document in the status buffer.
struct ConfigAnswer {
    bool ok = true;
    std::string bytes;
    // False for scripted raw bytes, which are copied without a zero byte
    // after them (and may then fill the buffer exactly).
    bool terminated = true;
};

// Routes `requestLine` ("METHOD /path?query\r\n") to its handler. Unknown
// lines, bodies the station cannot read, values out of range and functions
// the station lacks are answered with a status document.
ConfigAnswer serveConfigRequest(Station& station, const std::string& requestLine,
                                const std::string& body);

// The access-control ability document (ability type 2049) of `station`.
std::string abilityDocument(Station& station);

}  // namespace vstation

#endif  // VSTATION_CONFIGSERVER_H
