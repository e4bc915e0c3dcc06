// The person at the station, as the requests that read a card, an identity
// card, a finger or a face meet them: what they did and no request has taken
// yet, and the requests that wait for them (see PersonControl.h).
//
// Thread safety: every member may be called from any thread. Deliveries to a
// waiting connection run on the acting thread with no lock of this class held.
#ifndef VSTATION_PERSON_AT_STATION_H
#define VSTATION_PERSON_AT_STATION_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "State/ConfigState.h"
#include "VirtualStation/PersonControl.h"

namespace vstation {

// What a person did; only the member of the action's kind is set.
struct PersonDid {
    PresentedCard card;
    std::string identityInfo;
    std::shared_ptr<const FingerprintSample> finger;
    std::shared_ptr<const FaceSample> face;
};

class PersonAtStation {
public:
    static PersonAtStation& instance();

    void setWaiting(bool on);
    bool waiting() const;

    // Completes the oldest waiting request of the kind, or queues the action.
    void act(PersonAction kind, PersonDid did);
    // The oldest queued action of `kind`, without waiting.
    bool take(PersonAction kind, PersonDid* did);

    enum class Outcome {
        Acted,     // *did is what the person did
        NoWait,    // nobody is awaited (now): go on the default way
        TimedOut,  // the person did not act in time
    };
    // For a request that answers when it returns. Without the wait: a queued
    // action or NoWait. With it: waits until an action of `kind` arrives, or
    // `limit` passes, or the wait is switched off.
    Outcome await(PersonAction kind, std::chrono::milliseconds limit, PersonDid* did);

    // For a request that answers later (a long connection). Without the wait,
    // calls `deliver` at once, with the queued action or nothing. With it,
    // `deliver` is called later from the acting thread with the action, or
    // with nothing when the wait is switched off. `alive` says whether the
    // request still wants it; a request that went away is passed over.
    // `finger` is shown in pendingRequests().
    using Delivery = std::function<void(const PersonDid* did)>;
    void awaitLater(PersonAction kind, int finger, std::function<bool()> alive, Delivery deliver);

    std::vector<PendingRequest> pending() const;

    PersonAtStation(const PersonAtStation&) = delete;
    PersonAtStation& operator=(const PersonAtStation&) = delete;

private:
    struct Waiter {
        PendingRequest request;
        std::chrono::steady_clock::time_point since;
        std::function<bool()> alive;  // both empty for a request that waits in await()
        Delivery deliver;
        bool served = false;       // await(): an action was handed over
        bool released = false;     // await(): the wait was switched off
        PersonDid did;
    };

    PersonAtStation();
    void clear();
    // With m_mutex held.
    bool takeLocked(PersonAction kind, PersonDid* did);
    std::shared_ptr<Waiter> addWaiterLocked(PersonAction kind, int finger);
    // Ends every wait; the requests go on the default way.
    void releaseAll(std::unique_lock<std::mutex>& lock);

    mutable std::mutex m_mutex;
    std::condition_variable m_cond;
    bool m_waiting = false;
    uint64_t m_lastId = 0;
    std::deque<std::pair<PersonAction, PersonDid>> m_queued;
    std::list<std::shared_ptr<Waiter>> m_waiters;
};

}  // namespace vstation

#endif  // VSTATION_PERSON_AT_STATION_H
