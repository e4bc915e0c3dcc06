// The status document a station returns in place of a reply, and how the
// library judges it.
#ifndef ENROLLMENTSTATION_BASESDK_RESPONSESTATUS_H
#define ENROLLMENTSTATION_BASESDK_RESPONSESTATUS_H

#include <cstdint>
#include <string>

#include "EnrollmentStation/EnrollmentStation.h"

namespace EnrollmentStation {

// The document is handed to clients as it is read (getLastStationStatus), so
// the public record is the one declaration of its fields. Only errorCode
// decides anything; it is compared unsigned: -1 on the wire is 4294967295.
using ResponseStatus = StationStatus;

// Fills `status` from a status document; an empty text or one that is not
// JSON leaves it at its defaults. Keys match case-insensitively (first match
// wins), values are taken as cJSON holds them, without type checks.
void parseResponseStatus(ResponseStatus& status, const std::string& text);

// Error codes 0 and 1 are the station's "no error"; only larger ones (taken
// unsigned) are reported to the client.
inline bool isDeviceError(const ResponseStatus& status) { return status.errorCode > 1; }

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_RESPONSESTATUS_H
