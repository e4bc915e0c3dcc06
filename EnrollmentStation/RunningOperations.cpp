#include "RunningOperations.h"

#include <utility>

namespace EnrollmentStation {

bool CRunningOperations::Registration::finish() {
    if (m_owner == nullptr) return false;
    CRunningOperations* owner = m_owner;
    m_owner = nullptr;
    return owner->finish(m_id);
}

CRunningOperations::Registration CRunningOperations::enter(std::function<void()> cancel) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closed) return Registration(nullptr, 0);
    const uint64_t id = ++m_lastId;
    m_entries.emplace(id, Entry{std::move(cancel), false});
    return Registration(this, id);
}

bool CRunningOperations::finish(uint64_t id) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_entries.find(id);
    if (it == m_entries.end()) return false;
    const bool cancelled = it->second.cancelled;
    m_entries.erase(it);
    // Under the lock: a waiter in endAll may destroy this object as soon as
    // it sees the list empty.
    if (m_entries.empty()) m_idle.notify_all();
    return cancelled;
}

bool CRunningOperations::cancelLocked() {
    // Under the lock, so that no operation finishes (and takes its action's
    // objects with it) while its action runs.
    for (auto& entry : m_entries) {
        if (!entry.second.cancelled && entry.second.cancel) entry.second.cancel();
        entry.second.cancelled = true;
    }
    return !m_entries.empty();
}

bool CRunningOperations::cancel() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return cancelLocked();
}

void CRunningOperations::endAll() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_closed = true;
    cancelLocked();
    m_idle.wait(lock, [this] { return m_entries.empty(); });
}

void CRunningOperations::reopen() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_closed = false;
}

}  // namespace EnrollmentStation
