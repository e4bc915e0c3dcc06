// The SDK's own error number as the last error. Kept apart from LastError.h
// so that only the files that call the SDK see its header.
#ifndef ENROLLMENTSTATION_SDKERROR_H
#define ENROLLMENTSTATION_SDKERROR_H

#include <cstdint>

#include "LastError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

// Reads the SDK's error number of the call that just failed, sets it as
// (50, number) and returns it for the caller's log line.
inline int32_t takeSdkError() {
    const int32_t error = NET_DVR_GetLastError();
    setLastError(kErrMainSdk, error);
    return error;
}

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_SDKERROR_H
