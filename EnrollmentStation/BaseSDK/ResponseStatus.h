// The status document a station returns in place of a reply, and how the
// library judges it.
#ifndef ENROLLMENTSTATION_BASESDK_RESPONSESTATUS_H
#define ENROLLMENTSTATION_BASESDK_RESPONSESTATUS_H

#include <cstdint>
#include <string>

namespace EnrollmentStation {

// Only errorCode decides anything; the other fields are read for callers
// that want to show them.
struct ResponseStatus {
    std::string requestURL;
    int32_t statusCode = 0;
    std::string statusString;
    std::string subStatusCode;
    uint32_t errorCode = 0;  // compared unsigned: -1 on the wire is 4294967295
    std::string errorMsg;
    int32_t tryTimes = 0;
};

// Fills `status` from a status document; an empty text or one that is not
// JSON leaves it at its defaults. Keys match case-insensitively (first match
// wins), values are taken as cJSON holds them, without type checks.
void parseResponseStatus(ResponseStatus& status, const std::string& text);

// Error codes 0 and 1 are the station's "no error"; only larger ones (taken
// unsigned) are reported to the client.
inline bool isDeviceError(const ResponseStatus& status) { return status.errorCode > 1; }

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_RESPONSESTATUS_H
