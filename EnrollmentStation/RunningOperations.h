// CRunningOperations: the streaming operations and file transfers that run on
// one station object, so that another thread can end them
// (cancelCurrentOperation) and logout and destruction can wait them out.
//
// Each operation registers a cancel action for as long as it runs. A cancel
// marks every registered operation and runs its action; the operation learns
// from finish() whether it was cancelled, so a cancel that answered true is
// always seen by the operation it reached.
//
// Thread safety: every member may be called from any thread. Cancel actions
// run under the lock and must only set flags and wake waiters.
#ifndef ENROLLMENTSTATION_RUNNINGOPERATIONS_H
#define ENROLLMENTSTATION_RUNNINGOPERATIONS_H

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>

namespace EnrollmentStation {

class CRunningOperations {
public:
    // One running operation; unregisters when finished or destroyed.
    class Registration {
    public:
        Registration(CRunningOperations* owner, uint64_t id) : m_owner(owner), m_id(id) {}
        Registration(Registration&& other) noexcept : m_owner(other.m_owner), m_id(other.m_id) {
            other.m_owner = nullptr;
        }
        Registration(const Registration&) = delete;
        Registration& operator=(const Registration&) = delete;
        Registration& operator=(Registration&&) = delete;
        ~Registration() { finish(); }

        // False when the object is closing: the operation must not start.
        bool admitted() const { return m_owner != nullptr; }
        // Ends the registration; true when a cancel reached the operation.
        bool finish();

    private:
        CRunningOperations* m_owner;
        uint64_t m_id;
    };

    CRunningOperations() = default;
    CRunningOperations(const CRunningOperations&) = delete;
    CRunningOperations& operator=(const CRunningOperations&) = delete;

    Registration enter(std::function<void()> cancel);
    // Cancels every running operation; true when there was one.
    bool cancel();
    // Cancels every running operation, waits until none runs and refuses new
    // ones until reopen(). Not from inside an operation of the same object.
    void endAll();
    void reopen();

private:
    struct Entry {
        std::function<void()> cancel;
        bool cancelled = false;
    };

    bool finish(uint64_t id);
    bool cancelLocked();

    std::mutex m_mutex;
    std::condition_variable m_idle;
    std::map<uint64_t, Entry> m_entries;
    uint64_t m_lastId = 0;
    bool m_closed = false;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_RUNNINGOPERATIONS_H
