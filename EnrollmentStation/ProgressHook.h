// Where one running operation sends its progress reports.
//
// An operation takes the caller's callback as it was when it started
// (setProgressCallback applies to operations started afterwards) and closes
// its hook before it returns: a report from a late SDK thread then finds it
// closed, and close() waits for a report already running. The callback is
// called under the hook's lock; it must not call the station object, so the
// lock is never taken twice.
//
// Thread safety: report() and close() from any thread.
#ifndef ENROLLMENTSTATION_PROGRESSHOOK_H
#define ENROLLMENTSTATION_PROGRESSHOOK_H

#include <cstdint>
#include <mutex>

#include "EnrollmentStation/EnrollmentStation.h"

namespace EnrollmentStation {

// The caller's callback and its pointer, copied as one.
struct ProgressTarget {
    ProgressCallback callback = nullptr;
    void* user = nullptr;
};

class ProgressHook {
public:
    ProgressHook() = default;
    ProgressHook(const ProgressHook&) = delete;
    ProgressHook& operator=(const ProgressHook&) = delete;

    // Before the operation starts.
    void open(const ProgressTarget& target, ProgressOperation operation);
    // Hands `percent`, capped to 0..100, to the callback; nothing without
    // one or once closed.
    void report(int64_t percent);
    // No report after this returns.
    void close();

private:
    std::mutex m_mutex;
    ProgressTarget m_target;
    ProgressOperation m_operation = ProgressOperation::FaceCapture;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_PROGRESSHOOK_H
