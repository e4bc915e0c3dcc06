#include "WaitClock.h"

#include <atomic>

namespace EnrollmentStation {

namespace {

class RealClock final : public IWaitClock {
public:
    std::chrono::steady_clock::time_point deadlineAfter(std::chrono::milliseconds period) override {
        return std::chrono::steady_clock::now() + period;
    }
};

RealClock g_realClock;
std::atomic<IWaitClock*> g_clock{nullptr};

}  // namespace

IWaitClock& waitClock() {
    IWaitClock* clock = g_clock.load();
    return clock != nullptr ? *clock : g_realClock;
}

void setWaitClock(IWaitClock* clock) { g_clock.store(clock); }

}  // namespace EnrollmentStation
