#include "Person/PersonAtStation.h"

#include <utility>

#include "Sdk/Runtime.h"

namespace vstation {

PersonAtStation& PersonAtStation::instance() {
    // Never destroyed: connection threads may still ask while the process ends.
    static PersonAtStation* const person = new PersonAtStation();
    return *person;
}

PersonAtStation::PersonAtStation() {
    Runtime::instance().addTeardownHook([this](int32_t userId) {
        if (userId == -1) clear();
    });
}

void PersonAtStation::setWaiting(bool on) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_waiting = on;
    if (!on) releaseAll(lock);
}

bool PersonAtStation::waiting() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_waiting;
}

void PersonAtStation::clear() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_waiting = false;
    m_queued.clear();
    releaseAll(lock);
}

void PersonAtStation::releaseAll(std::unique_lock<std::mutex>& lock) {
    std::list<std::shared_ptr<Waiter>> waiters;
    waiters.swap(m_waiters);
    for (const auto& waiter : waiters) waiter->released = true;
    m_cond.notify_all();
    lock.unlock();
    for (const auto& waiter : waiters) {
        if (waiter->deliver && waiter->alive()) waiter->deliver(nullptr);
    }
    lock.lock();
}

void PersonAtStation::act(PersonAction kind, PersonDid did) {
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        auto it = m_waiters.begin();
        while (it != m_waiters.end() && (*it)->request.action != kind) ++it;
        if (it == m_waiters.end()) {
            m_queued.emplace_back(kind, std::move(did));
            return;
        }
        std::shared_ptr<Waiter> waiter = *it;
        m_waiters.erase(it);
        if (!waiter->deliver) {
            waiter->did = std::move(did);
            waiter->served = true;
            m_cond.notify_all();
            return;
        }
        // A connection's report queue takes its own lock: none of ours is held.
        lock.unlock();
        if (waiter->alive()) {
            waiter->deliver(&did);
            return;
        }
        lock.lock();
    }
}

bool PersonAtStation::takeLocked(PersonAction kind, PersonDid* did) {
    for (auto it = m_queued.begin(); it != m_queued.end(); ++it) {
        if (it->first != kind) continue;
        *did = std::move(it->second);
        m_queued.erase(it);
        return true;
    }
    return false;
}

bool PersonAtStation::take(PersonAction kind, PersonDid* did) {
    std::lock_guard<std::mutex> lock(m_mutex);
    return takeLocked(kind, did);
}

std::shared_ptr<PersonAtStation::Waiter> PersonAtStation::addWaiterLocked(PersonAction kind, int finger) {
    // Connections closed while they waited leave here, not only when acted on.
    m_waiters.remove_if([](const std::shared_ptr<Waiter>& w) { return w->alive && !w->alive(); });
    auto waiter = std::make_shared<Waiter>();
    waiter->request.id = ++m_lastId;
    waiter->request.action = kind;
    waiter->request.finger = finger;
    waiter->since = std::chrono::steady_clock::now();
    m_waiters.push_back(waiter);
    return waiter;
}

PersonAtStation::Outcome PersonAtStation::await(PersonAction kind, std::chrono::milliseconds limit,
                                                PersonDid* did) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (takeLocked(kind, did)) return Outcome::Acted;
    if (!m_waiting) return Outcome::NoWait;
    std::shared_ptr<Waiter> waiter = addWaiterLocked(kind, 0);
    m_cond.wait_for(lock, limit, [&] { return waiter->served || waiter->released; });
    m_waiters.remove(waiter);
    if (waiter->served) {
        *did = std::move(waiter->did);
        return Outcome::Acted;
    }
    return waiter->released ? Outcome::NoWait : Outcome::TimedOut;
}

void PersonAtStation::awaitLater(PersonAction kind, int finger, std::function<bool()> alive, Delivery deliver) {
    PersonDid did;
    bool acted = false;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        acted = takeLocked(kind, &did);
        if (!acted && m_waiting) {
            std::shared_ptr<Waiter> waiter = addWaiterLocked(kind, finger);
            waiter->alive = std::move(alive);
            waiter->deliver = std::move(deliver);
            return;
        }
    }
    deliver(acted ? &did : nullptr);
}

std::vector<PendingRequest> PersonAtStation::pending() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto now = std::chrono::steady_clock::now();
    std::vector<PendingRequest> requests;
    for (const auto& waiter : m_waiters) {
        if (waiter->alive && !waiter->alive()) continue;
        PendingRequest request = waiter->request;
        request.waitingMs = std::chrono::duration_cast<std::chrono::milliseconds>(now - waiter->since).count();
        requests.push_back(request);
    }
    return requests;
}

}  // namespace vstation
