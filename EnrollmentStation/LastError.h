// The last-error codes the operations report, and the one way they set them.
#ifndef ENROLLMENTSTATION_LASTERROR_H
#define ENROLLMENTSTATION_LASTERROR_H

#include "KestroBase.h"

namespace EnrollmentStation {

constexpr int kErrMainSdk = 50;       // sub: the SDK's error number
constexpr int kErrMainDevice = 68;    // sub: the station's errorCode
constexpr int kErrMainLibrary = 69;   // sub: one of the codes below
constexpr int kErrNoSession = 8200;
constexpr int kErrNoBuffer = 8201;
constexpr int kErrCollectFailed = 8203;
constexpr int kErrTransferFailed = 8205;
constexpr int kErrTransferAborted = 8206;
constexpr int kErrCancelled = 8207;
constexpr int kErrStationSilent = 8208;

inline void setLastError(int mainCode, int subCode) {
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(mainCode, subCode));
}

// The session guard of the device operations: false, with (69, 8200), when
// there is no login handle.
inline bool requireSession(long userId) {
    if (userId != -1) return true;
    setLastError(kErrMainLibrary, kErrNoSession);
    return false;
}

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_LASTERROR_H
