// How a C call becomes an es_status: the last error is cleared, the class is
// called, and what it recorded is read back. No exception leaves a C call.
#ifndef ENROLLMENTSTATION_CINTERFACE_CALLSTATUS_H
#define ENROLLMENTSTATION_CINTERFACE_CALLSTATUS_H

#include <stdexcept>

#include "EnrollmentStation/EnrollmentStationC.h"

namespace EnrollmentStation {
namespace capi {

// The status of a finished call: a failure carries the code the call
// recorded. Some successes record one too (logout's second logout of its
// handle); those are not failures and are not reported.
es_status finished(bool ok);
// Like `finished`, but a success keeps the recorded code as well.
es_status finishedWithCode(bool ok);
// The status of a call that records no code (and must not clear another's).
es_status uncoded(bool ok);
// A status of the interface itself: (0, sub), not ok.
es_status refused(int sub);
// Clears the process-wide last error so that `finished` reads only this call's code.
void clearLastError();
// The status of an exception that reached the interface.
es_status fromException();

// Runs `operation` (returning bool) under the rules above.
template <class Operation>
es_status run(Operation&& operation, es_status (*finish)(bool) = finished) {
    try {
        clearLastError();
        return finish(operation());
    } catch (...) {
        return fromException();
    }
}

// Runs `operation` without touching the last error.
template <class Operation>
es_status runUncoded(Operation&& operation) {
    try {
        return uncoded(operation());
    } catch (...) {
        return fromException();
    }
}

// A record the caller passed: present and at least as large as this version's.
template <class Record>
bool sized(const Record* record) {
    return record != nullptr && record->size >= sizeof(Record);
}

}  // namespace capi
}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_CINTERFACE_CALLSTATUS_H
