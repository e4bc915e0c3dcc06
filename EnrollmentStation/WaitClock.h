// The time the library's waits read: the pause before a connection restart
// and the stream time-out. Tests put a faster clock in its place so that
// waits of seconds pass in milliseconds.
//
// Thread safety: setWaitClock is for test set-up, before any operation runs;
// waitClock may be called from any thread.
#ifndef ENROLLMENTSTATION_WAITCLOCK_H
#define ENROLLMENTSTATION_WAITCLOCK_H

#include <chrono>

#include "EnrollmentStation/Export.h"

namespace EnrollmentStation {

class IWaitClock {
public:
    virtual ~IWaitClock() = default;
    // The moment, on the steady clock, at which a wait of `period` that
    // starts now ends.
    virtual std::chrono::steady_clock::time_point deadlineAfter(std::chrono::milliseconds period) = 0;
};

// The clock in use; the real one unless a test installed another.
IWaitClock& waitClock();
// Installs `clock` (not owned; it must outlive its use); null restores the real one.
ENROLLMENTSTATION_API void setWaitClock(IWaitClock* clock);

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_WAITCLOCK_H
